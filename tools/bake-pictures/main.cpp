// pellmora-bake-pictures OUTDIR
// pellmora-bake-pictures --check DIR
// Draws the game's pictures with Qt and the IPA fonts and writes them as the
// PNG files that the game builds in (OUTDIR is assets/ for a change to the
// pictures: `make pictures`). With --check it writes nothing and fails
// unless DIR holds exactly these files with exactly these pixels, so that a
// drawing that drifts from the committed pictures is noticed.
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QString>
#include <QStringList>
#include <cstdio>
#include <vector>

#include "tools/bake-pictures/PictureSet.h"

using namespace pellmora;

namespace {

using pellmora::bake::DrawnFile;

int Fail(const QString& message) {
  std::fprintf(stderr, "pellmora-bake-pictures: %s\n", qUtf8Printable(message));
  return 1;
}

// Pixels that differ between two pictures of one size, alpha included.
qsizetype DifferingPixels(const QImage& a, const QImage& b) {
  const QImage left = a.convertToFormat(QImage::Format_ARGB32);
  const QImage right = b.convertToFormat(QImage::Format_ARGB32);
  qsizetype differing = 0;
  for (int y = 0; y < left.height(); ++y) {
    for (int x = 0; x < left.width(); ++x) differing += left.pixel(x, y) != right.pixel(x, y);
  }
  return differing;
}

int Write(const std::vector<DrawnFile>& set, const QString& outDir) {
  if (!QDir().mkpath(outDir)) return Fail(QStringLiteral("cannot create %1").arg(outDir));
  for (const DrawnFile& drawn : set) {
    const QString file = QDir(outDir).filePath(drawn.name);
    if (!drawn.image.save(file, "PNG")) return Fail(QStringLiteral("cannot write %1").arg(file));
  }
  return 0;
}

int Check(const std::vector<DrawnFile>& set, const QString& dir) {
  int faults = 0;
  QStringList drawnNames;
  for (const DrawnFile& drawn : set) {
    drawnNames << drawn.name;
    const QString file = QDir(dir).filePath(drawn.name);
    const QImage committed(file, "PNG");
    if (committed.isNull()) {
      std::fprintf(stderr, "%s: missing or not a PNG\n", qUtf8Printable(file));
      ++faults;
    } else if (committed.size() != drawn.image.size()) {
      std::fprintf(stderr, "%s: %dx%d, drawn %dx%d\n", qUtf8Printable(file), committed.width(),
                   committed.height(), drawn.image.width(), drawn.image.height());
      ++faults;
    } else if (const qsizetype differing = DifferingPixels(committed, drawn.image); differing) {
      std::fprintf(stderr, "%s: %lld pixels differ from the drawing\n", qUtf8Printable(file),
                   static_cast<long long>(differing));
      ++faults;
    }
  }
  const QStringList present = QDir(dir).entryList({QStringLiteral("*.png")}, QDir::Files);
  for (const QString& name : present) {
    if (!drawnNames.contains(name)) {
      std::fprintf(stderr, "%s: a picture the tool does not draw\n", qUtf8Printable(name));
      ++faults;
    }
  }
  if (faults != 0) {
    return Fail(
        QStringLiteral("%1 picture files differ from the drawings: run make pictures").arg(faults));
  }
  std::printf("pellmora-bake-pictures: all %zu pictures match\n", set.size());
  return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  const QStringList args = QCoreApplication::arguments().mid(1);
  const bool check = args.size() == 2 && args[0] == QStringLiteral("--check");
  if (!check && (args.size() != 1 || args[0].startsWith(QLatin1Char('-')))) {
    return Fail(QStringLiteral("usage: pellmora-bake-pictures OUTDIR | --check DIR"));
  }

  QString error;
  const std::vector<DrawnFile> set = pellmora::bake::DrawPictureSet(error);
  if (set.empty()) return Fail(error);
  return check ? Check(set, args[1]) : Write(set, args[0]);
}
