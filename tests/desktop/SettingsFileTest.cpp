// The settings file as a careless hand leaves it: a value that is no
// boolean, keys of no use, a file far too large or no settings file at all.
#include <gtest/gtest.h>

#include <QDir>

#include "desktop/Preferences.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

TEST(SettingsFile, OddFilesAreSetAsideAndOddValuesCountAsAbsent) {
  TempWorkingDir dir;
  const QByteArray before = qgetenv("XDG_CONFIG_HOME");
  qputenv("XDG_CONFIG_HOME", dir.Path().c_str());
  std::filesystem::create_directory("Pellmora");
  const std::string path = "Pellmora/Pellmora.conf";
  WriteBytes(path,
             "[window]\nscale=3\nfullscreen=banana\n[play]\npauseOnFocusLoss=false\n[x]\ny=1\n");
  Preferences read = settings::Load();
  EXPECT_TRUE(read.scale == 3 && !read.fullscreen && !read.focusPause);  // banana: the default
  settings::Save(read);
  EXPECT_EQ(ReadBytes(path).find("[x]"), std::string::npos) << ReadBytes(path);

  for (const std::string& odd : {"[window]\nfullscreen=true\n" + std::string(100000, '#'),
                                 std::string("[window\nfullscreen=true\n")}) {
    WriteBytes(path, odd);
    testing::internal::CaptureStderr();
    EXPECT_FALSE(settings::Load().fullscreen);
    const std::string said = testing::internal::GetCapturedStderr();
    const QStringList kept = QDir("Pellmora").entryList({"Pellmora.conf.*.bad"});
    ASSERT_EQ(kept.size(), 1) << said;
    const std::string keptPath = "Pellmora/" + kept.first().toStdString();
    EXPECT_EQ(ReadBytes(keptPath), odd);
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    EXPECT_NE(said.find(keptPath), std::string::npos) << said;
    EXPECT_NE(ReadBytes(path).find("fullscreen=false"), std::string::npos) << ReadBytes(path);
    std::filesystem::remove(keptPath);
  }
  // The world ranking's address is kept by a save of the other choices; a
  // hand-edited one that the command line would refuse counts as none.
  read.rankingServer = "https://ranking.example.org";
  settings::Save(read);
  EXPECT_EQ(settings::Load().rankingServer, "https://ranking.example.org");
  WriteBytes(path, "[world]\nrankingServer=ftp://ranking.example.org\n");
  EXPECT_EQ(settings::Load().rankingServer, "");
  if (before.isNull()) qunsetenv("XDG_CONFIG_HOME");
  if (!before.isNull()) qputenv("XDG_CONFIG_HOME", before);
}

}  // namespace

}  // namespace pellmora
