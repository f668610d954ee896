// The first start in a browser puts the desktop package's empty table in place.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "posix/PosixFileOps.h"
#include "tests/support/TempDir.h"
#include "web/FirstVisit.h"
#include "web/WebFonts.h"

namespace pellmora {
namespace {

std::string SourceFile(const std::string& relative) {
  const char* root = std::getenv("PELLMORA_SOURCE_DIR");
  return std::string(root != nullptr ? root : ".") + "/" + relative;
}

TEST(FirstVisit, AnEmptyFolderGetsTheSameTableAsTheDesktopPackage) {
  const std::string packaged = ReadBytes(SourceFile("packaging/HiScore.dat"));
  ASSERT_EQ(packaged.size(), 41u);
  TempWorkingDir dir;
  PosixFileOps files;
  ASSERT_TRUE(PutEmptyTableIfMissing(files).Ok());
  EXPECT_EQ(ReadBytes("HiScore.dat"), packaged);
}

TEST(FirstVisit, AFileThatIsThereIsLeftAsItIsEvenWhenDamaged) {
  TempWorkingDir dir;
  WriteBytes("HiScore.dat", "not a table");
  PosixFileOps files;
  ASSERT_TRUE(PutEmptyTableIfMissing(files).Ok());
  EXPECT_EQ(ReadBytes("HiScore.dat"), "not a table");
}

TEST(WebFonts, TheDesignFontsMapToTheIpaFontsOfTheirKind) {
  EXPECT_EQ(CssFontFamily("ＭＳ ゴシック"), "PellmoraGothicSubset, IPAGothic, monospace");
  EXPECT_EQ(CssFontFamily("ＭＳ Ｐゴシック"), "PellmoraPGothicSubset, IPAPGothic, sans-serif");
  EXPECT_EQ(CssFontFamily("ＭＳ 明朝"), "IPAMincho, serif");
  EXPECT_EQ(CssFontFamily("Arial"), "sans-serif");
}

}  // namespace
}  // namespace pellmora
