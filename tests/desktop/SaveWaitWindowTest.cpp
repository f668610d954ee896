// A game over whose save finds another copy holding the score folder: within
// a second a note says so and the window keeps drawing. Closing the note
// stops waiting, which is told, and the entry is kept; it is saved at the
// next game over, once the other copy lets go.
#include <fcntl.h>
#include <sys/file.h>

#include <QInputDialog>
#include <QMessageBox>

#include "PlayTestSupport.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

class SaveWait : public qthosttest::StartedHost, public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    paints += event->type() == QEvent::Paint ? 1 : 0;
    return false;
  }
  int paints = 0;
};

TEST_F(SaveWait, TheWindowDrawsAndTellsWhileAnotherCopySaves) {
  Game().Timer1.SetEnabled(false);
  const std::string table = "90,0,0,0,0,0,0,0,0,0\r\nAoi\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n";
  WriteBytes("HiScore.dat", table);
  const int other = ::open(".", O_RDONLY | O_DIRECTORY);  // the other copy's lock
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  Window().installEventFilter(this);
  QElapsedTimer sinceName;
  qint64 toldAfter = -1;
  bool drew = false;
  std::string said;
  playtest::ModalWatcher watcher([&](QWidget& box) {
    if (auto* input = qobject_cast<QInputDialog*>(&box)) {
      input->setTextValue(QStringLiteral("Mio"));
      input->accept();
      sinceName.start();
      return;
    }
    auto* note = qobject_cast<QMessageBox*>(&box);
    if (note == nullptr) return;
    said += note->text().toStdString();
    // The first game over's note is closed: the player stops waiting.
    if (Game().score == 50 || !note->text().contains(QStringLiteral("待っています"))) return;
    toldAfter = sinceName.elapsed();
    paints = 0;
    Window().update();
    drew = playtest::WaitUntil([&] { return paints > 0; }, 3000);
    ::flock(other, LOCK_UN);
    playtest::WaitUntil([&] { return QApplication::activeModalWidget() != &box; }, 3000);
  });
  for (const int16_t score : {50, 40}) {
    Game().playing = VbTrue;
    Game().score = score;
    Game().EndGame();
    if (score == 50) {
      EXPECT_EQ(ReadBytes("HiScore.dat"), table);
    }
  }
  ::close(other);
  EXPECT_NE(said.find("使い続けているため"), std::string::npos) << said;
  EXPECT_TRUE(toldAfter >= 0 && toldAfter < 1000) << toldAfter;
  EXPECT_TRUE(drew);
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "90,50,40,0,0,0,0,0,0,0\r\nAoi\r\nMio\r\nMio\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

}  // namespace

}  // namespace pellmora
