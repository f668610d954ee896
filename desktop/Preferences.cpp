#include "desktop/Preferences.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QVariant>
#include <cstdio>
#include <optional>

#include "desktop/RankingServerAddress.h"

namespace pellmora {

namespace settings {

namespace {

// Three short lines are all the game writes; a larger file is no file of its.
constexpr qint64 kMaxSettingsBytes = 64 * 1024;

// $XDG_CONFIG_HOME/Pellmora/Pellmora.conf, ~/.config/Pellmora/Pellmora.conf
// without it. Named here, not by QSettings, which reads a file as it opens it.
QString Path() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/Pellmora/Pellmora.conf");
}

QSettings File() {
  return QSettings(Path(), QSettings::IniFormat);
}

const QString kScale = QStringLiteral("window/scale");
const QString kFullscreen = QStringLiteral("window/fullscreen");
const QString kFocusPause = QStringLiteral("play/pauseOnFocusLoss");
const QString kRankingServer = QStringLiteral("world/rankingServer");

// Only what Save writes counts as a choice; "banana" is none.
std::optional<bool> Boolean(const QVariant& value) {
  const QString text = value.toString();
  if (text == QLatin1String("true")) return true;
  if (text == QLatin1String("false")) return false;
  return std::nullopt;
}

// A file too large to be the game's, or that is no settings file, is kept
// under a name of its own for the player to look at, and the game starts
// from a clean one.
bool SetAsideUnless(bool usable, const QString& path, const char* why) {
  if (usable) return false;
  const QString kept = path +
                       QDateTime::currentDateTime().toString(QStringLiteral(".yyyyMMdd-hhmmss")) +
                       QStringLiteral(".bad");
  const bool moved = QFile::rename(path, kept);
  std::fprintf(stderr, "pellmora: the settings file %s %s; %s\n", qPrintable(path), why,
               moved ? qPrintable("kept it as " + kept + " and started from a clean one")
                     : "left it as it is and started from the defaults");
  return true;
}

}  // namespace

Preferences Load() {
  Preferences preferences;
  const QString path = Path();
  const QFileInfo info(path);
  bool setAside =
      info.exists() && SetAsideUnless(info.size() <= kMaxSettingsBytes, path, "is too large");
  if (!setAside) {
    const QSettings file = File();
    setAside =
        SetAsideUnless(file.status() == QSettings::NoError, path, "cannot be read as settings");
  }
  if (setAside) {
    if (!QFileInfo::exists(path)) Save(preferences);
    return preferences;
  }
  const QSettings file = File();
  bool ok = false;
  // A hand-edited file may hold anything; only a zoom from 1 up counts.
  const int scale = file.value(kScale).toInt(&ok);
  if (ok && scale >= 1) preferences.scale = scale;
  preferences.fullscreen = Boolean(file.value(kFullscreen)).value_or(preferences.fullscreen);
  preferences.focusPause = Boolean(file.value(kFocusPause)).value_or(preferences.focusPause);
  // A hand-edited address counts only where the command line would take it.
  const std::string server = file.value(kRankingServer).toString().toStdString();
  if (const RankingServerAddress address = CheckRankingServer(server); address.error.empty()) {
    preferences.rankingServer = address.url;
  }
  return preferences;
}

void Save(const Preferences& preferences) {
  QSettings file = File();
  // Only the game's own choices are written back: nothing else piles up.
  file.clear();
  file.setValue(kScale, preferences.scale);
  file.setValue(kFullscreen, preferences.fullscreen);
  file.setValue(kFocusPause, preferences.focusPause);
  if (!preferences.rankingServer.empty()) {
    file.setValue(kRankingServer, QString::fromStdString(preferences.rankingServer));
  }
}

}  // namespace settings

}  // namespace pellmora
