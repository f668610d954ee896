// Every picture file of assets/ with the picture the tool draws for it.
#pragma once

#include <QImage>
#include <QString>
#include <vector>

namespace pellmora::bake {

struct DrawnFile {
  QString name;  // its name in assets/, e.g. "ball.png"
  QImage image;
};

// Draws every picture once, one entry per file (kinds that share a file give
// one entry). Empty, with `error` set, when a picture cannot be drawn or two
// kinds sharing a file draw different pictures. Needs a QGuiApplication.
std::vector<DrawnFile> DrawPictureSet(QString& error);

}  // namespace pellmora::bake
