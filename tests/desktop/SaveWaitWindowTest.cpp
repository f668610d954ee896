// A game over whose save finds another copy of the game holding the score
// folder: the window keeps drawing, a note says within a second what the
// game waits for, and the entry is saved once the other copy lets go.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QInputDialog>
#include <QMessageBox>

#include "PlayTestSupport.h"
#include "tests/support/TempDir.h"

namespace pellmora {

namespace {

using playtest::WaitUntil;

class SaveWait : public qthosttest::StartedHost, public QObject {
 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++paints;
    return false;
  }
  int paints = 0;
};

TEST_F(SaveWait, TheWindowDrawsAndTellsWhileAnotherCopySaves) {
  Game().Timer1.SetEnabled(false);  // no title running behind the boxes
  WriteBytes("HiScore.dat", "90,0,0,0,0,0,0,0,0,0\r\nAoi\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
  // The other copy, saving: the folder's lock through a descriptor of its own.
  int other = ::open(".", O_RDONLY | O_DIRECTORY);
  ASSERT_EQ(::flock(other, LOCK_EX), 0);
  Window().installEventFilter(this);

  QElapsedTimer sinceName;
  qint64 toldAfter = -1;
  bool drewWhileWaiting = false;
  playtest::ModalWatcher watcher([&](QWidget& box) {
    if (auto* input = qobject_cast<QInputDialog*>(&box)) {
      input->setTextValue(QStringLiteral("Mio"));
      input->accept();
      sinceName.start();
      return;
    }
    auto* message = qobject_cast<QMessageBox*>(&box);
    if (message == nullptr || !message->text().contains(QStringLiteral("待っています"))) return;
    toldAfter = sinceName.elapsed();
    paints = 0;
    Window().update();
    drewWhileWaiting = WaitUntil([&] { return paints > 0; }, 3000);
    ::close(other);  // the other copy is done
    other = -1;
    WaitUntil([&] { return QApplication::activeModalWidget() != &box; }, 3000);
  });
  Game().playing = VbTrue;
  Game().score = 50;
  Game().EndGame();
  if (other >= 0) ::close(other);

  EXPECT_GE(toldAfter, 0) << "no note while the save waited";
  EXPECT_LT(toldAfter, 1000);
  EXPECT_TRUE(drewWhileWaiting);
  EXPECT_EQ(ReadBytes("HiScore.dat"),
            "90,50,0,0,0,0,0,0,0,0\r\nAoi\r\nMio\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

}  // namespace

}  // namespace pellmora
