// The settings file as a careless hand leaves it: a value that is no
// boolean, keys of no use, a file far too large or no settings file at all.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>

#include "desktop/Preferences.h"

namespace pellmora {

namespace {

QByteArray Read(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<none>");
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
}

TEST(SettingsFile, OddFilesAreSetAsideAndOddValuesCountAsAbsent) {
  QTemporaryDir config;
  ASSERT_TRUE(config.isValid());
  const QByteArray before = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
  ASSERT_TRUE(QDir(config.path()).mkpath(QStringLiteral("Pellmora")));
  const QString path = config.path() + QStringLiteral("/Pellmora/Pellmora.conf");
  const auto setAside = [&] {
    return QDir(config.path() + QStringLiteral("/Pellmora"))
        .entryList({QStringLiteral("Pellmora.conf.*.bad")}, QDir::Files);
  };

  Write(path,
        "[window]\nscale=3\nfullscreen=banana\n[play]\npauseOnFocusLoss=false\n[junk]\nx=1\n");
  Preferences read = settings::Load();
  EXPECT_EQ(read.scale, 3);
  EXPECT_FALSE(read.fullscreen);  // "banana" is no choice: the default
  EXPECT_FALSE(read.focusPause);
  settings::Save(read);
  EXPECT_FALSE(Read(path).contains("junk")) << Read(path).constData();
  EXPECT_TRUE(setAside().isEmpty());

  const QByteArray huge = "[window]\nfullscreen=true\n[junk]\nx=" + QByteArray(100000, 'x') + "\n";
  const QByteArray broken = "[window\nfullscreen=true\n";
  for (const QByteArray& odd : {huge, broken}) {
    Write(path, odd);
    testing::internal::CaptureStderr();
    read = settings::Load();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(read.fullscreen);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    const QStringList kept = setAside();
    ASSERT_EQ(kept.size(), 1) << said;
    EXPECT_EQ(Read(config.path() + QStringLiteral("/Pellmora/") + kept.first()), odd);
    EXPECT_NE(said.find(kept.first().toStdString()), std::string::npos) << said;
    EXPECT_TRUE(Read(path).contains("fullscreen=false")) << Read(path).constData();
    QFile::remove(config.path() + QStringLiteral("/Pellmora/") + kept.first());
  }
  if (before.isNull()) {
    qunsetenv("XDG_CONFIG_HOME");
  } else {
    qputenv("XDG_CONFIG_HOME", before);
  }
}

}  // namespace

}  // namespace pellmora
