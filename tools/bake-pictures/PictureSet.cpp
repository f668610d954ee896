#include "tools/bake-pictures/PictureSet.h"

#include <string_view>

#include "assets/PictureFiles.h"
#include "tools/bake-pictures/DrawnPictures.h"

namespace pellmora::bake {

namespace {

QString NameOf(std::string_view file) {
  return QString::fromUtf8(file.data(), static_cast<qsizetype>(file.size()));
}

// Adds `image` as `file`, or checks it against the picture already there.
bool Add(std::vector<DrawnFile>& set, std::string_view file, const QImage& image, QString& error) {
  const QString name = NameOf(file);
  if (image.isNull()) {
    error = QStringLiteral("%1 could not be drawn").arg(name);
    return false;
  }
  for (const DrawnFile& drawn : set) {
    if (drawn.name != name) continue;
    if (drawn.image != image) {
      error = QStringLiteral("%1 is shared by pictures that differ").arg(name);
      return false;
    }
    return true;
  }
  set.push_back({name, image});
  return true;
}

}  // namespace

std::vector<DrawnFile> DrawPictureSet(QString& error) {
  std::vector<DrawnFile> set;
  bool ok = Add(set, pictures::kBackgroundTileFile, BackgroundTile(), error) &&
            Add(set, pictures::kIconFile, Icon(), error) &&
            Add(set, pictures::kPaddleUprightFile, PaddleUpright(), error) &&
            Add(set, pictures::kPaddleFlatFile, PaddleFlat(), error) &&
            Add(set, pictures::kBallFile, Ball(), error);
  for (int k = 0; ok && k < 6; ++k) {
    ok = Add(set, pictures::kItemPanelFiles[k], ItemPanel(k), error);
  }
  for (int n = 0; ok && n < 3; ++n) {
    ok = Add(set, pictures::kButtonFiles[n], ButtonPicture(n), error);
  }
  if (!ok) set.clear();
  return set;
}

}  // namespace pellmora::bake
