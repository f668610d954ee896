#include "desktop/Preferences.h"

#include <QSettings>
#include <QVariant>

namespace pellmora {

namespace settings {

namespace {

// $XDG_CONFIG_HOME/Pellmora/Pellmora.conf, ~/.config/Pellmora/Pellmora.conf
// without it.
QSettings File() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Pellmora"),
                   QStringLiteral("Pellmora"));
}

const QString kScale = QStringLiteral("window/scale");
const QString kFullscreen = QStringLiteral("window/fullscreen");
const QString kFocusPause = QStringLiteral("play/pauseOnFocusLoss");

}  // namespace

Preferences Load() {
  Preferences preferences;
  const QSettings file = File();
  bool ok = false;
  // A hand-edited file may hold anything; only a zoom from 1 up counts.
  const int scale = file.value(kScale).toInt(&ok);
  if (ok && scale >= 1) preferences.scale = scale;
  const QVariant fullscreen = file.value(kFullscreen);
  if (fullscreen.isValid()) preferences.fullscreen = fullscreen.toBool();
  const QVariant focusPause = file.value(kFocusPause);
  if (focusPause.isValid()) preferences.focusPause = focusPause.toBool();
  return preferences;
}

void Save(const Preferences& preferences) {
  QSettings file = File();
  file.setValue(kScale, preferences.scale);
  file.setValue(kFullscreen, preferences.fullscreen);
  file.setValue(kFocusPause, preferences.focusPause);
}

}  // namespace settings

}  // namespace pellmora
