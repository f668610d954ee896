// pellmora-make-icons OUTDIR
// Draws the game's icon for the desktop's menus as OUTDIR/NxN/apps/pellmora.png
// at every size the game ships. The icon is pixel art of 32 x 32, so the
// other sizes keep its hard pixels rather than blurring them.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <cstdio>

#include "assets/Pictures.h"
#include "desktop/QtPictures.h"
#include "tools/make-icons/NearestNeighbour.h"

using namespace pellmora;

namespace {

constexpr int kSizes[] = {16, 32, 48, 64, 128, 256};

int Fail(const QString& message) {
  std::fprintf(stderr, "pellmora-make-icons: %s\n", qUtf8Printable(message));
  return 1;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc != 2) return Fail(QStringLiteral("usage: pellmora-make-icons OUTDIR"));
  const QString outDir = QString::fromLocal8Bit(argv[1]);

  const QImage icon =
      pellmora::QtImage(pellmora::pictures::Icon()).convertToFormat(QImage::Format_ARGB32);
  if (icon.isNull()) return Fail(QStringLiteral("the game's icon could not be read"));

  for (const int size : kSizes) {
    const QString dir = QStringLiteral("%1/%2x%2/apps").arg(outDir, QString::number(size));
    if (!QDir().mkpath(dir)) return Fail(QStringLiteral("cannot create %1").arg(dir));
    const QImage image = size == icon.width() ? icon : NearestNeighbour(icon, size);
    const QString file = dir + QStringLiteral("/pellmora.png");
    if (!image.save(file, "PNG")) return Fail(QStringLiteral("cannot write %1").arg(file));
  }
  return 0;
}
