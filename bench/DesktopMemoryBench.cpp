// Resident memory of the real desktop host over many ranking openings and
// many games, to see that it stays flat. Everything is driven from inside the
// application's event loop, as a player's clicks are, so that windows handed
// to deleteLater go when they would in the game. Prints one "name value" line
// per figure: resident and live heap KiB after 100, 500 and N cycles.
//   pellmora_bench_memory [CYCLES]
#include <malloc.h>
#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QInputDialog>
#include <QPointer>
#include <QTimer>
#include <QWindow>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "desktop/Fonts.h"
#include "desktop/QtHost.h"
#include "desktop/Translations.h"

using namespace pellmora;

namespace {

long ResidentKiB() {
  std::ifstream statm("/proc/self/statm");
  long size = 0;
  long resident = 0;
  if (!(statm >> size >> resident)) return -1;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

long LiveHeapKiB() {
  return static_cast<long>(mallinfo2().uordblks / 1024);
}

bool Shown(QWidget* widget) {
  return widget != nullptr && widget->isVisible() && widget->windowHandle() != nullptr &&
         widget->windowHandle()->isExposed();
}

// One step of the player each millisecond, from a timer of the event loop
// (or of a box's own loop while one is open).
class Player : public QObject {
 public:
  Player(QtHost& host, int cycles) : host_(host), cycles_(cycles) {
    step_.setTimerType(Qt::PreciseTimer);
    step_.setInterval(1);
    connect(&step_, &QTimer::timeout, this, [this] { Step(); });
  }

  void Start() { step_.start(); }

 private:
  enum class Phase { kOpenRanking, kCloseRanking, kRankingGone, kStartGame, kInGame, kDone };

  void Sample(const char* what, int cycle) {
    if (cycle % 100 != 0 && cycle != cycles_) return;
    std::printf("%s_%d_rss_kib %ld\n", what, cycle, ResidentKiB());
    std::printf("%s_%d_heap_kib %ld\n", what, cycle, LiveHeapKiB());
    std::fflush(stdout);
  }

  bool MenuUp() {
    return host_.Session().Game().Command1.Visible && host_.Session().Game().Command2.Visible;
  }

  void Step() {
    Form1& game = host_.Session().Game();
    switch (phase_) {
      case Phase::kOpenRanking:
        if (!MenuUp()) return;
        host_.Window().Command(1).click();
        ranking_ = host_.RankingWindow();
        phase_ = Phase::kCloseRanking;
        return;
      case Phase::kCloseRanking:
        if (!Shown(ranking_)) return;
        ranking_->Command1().click();
        phase_ = Phase::kRankingGone;
        return;
      case Phase::kRankingGone:
        if (!ranking_.isNull()) return;  // deleteLater not yet done
        ++done_;
        Sample("ranking", done_);
        if (done_ < cycles_) {
          phase_ = Phase::kOpenRanking;
        } else {
          done_ = 0;
          phase_ = Phase::kStartGame;
        }
        return;
      case Phase::kStartGame:
        if (!MenuUp()) return;
        host_.Window().Command(0).click();
        // A score that enters the list, and a ball lost on the next tick.
        game.score = static_cast<int16_t>(1000 + done_);
        game.Image2.Top = 0;
        game.Image2.Height = 10;
        game.Image5.Left = 617;
        game.Image5.Top = 300;
        game.ballDX = 3;
        game.ballDY = 0;
        phase_ = Phase::kInGame;
        return;
      case Phase::kInGame:
        if (QWidget* box = QApplication::activeModalWidget()) {
          if (!Shown(box)) return;
          if (auto* prompt = qobject_cast<QInputDialog*>(box)) prompt->setTextValue("Bench");
          if (auto* dialog = qobject_cast<QDialog*>(box)) dialog->accept();
          return;
        }
        if (!MenuUp()) return;
        ++done_;
        Sample("game", done_);
        if (done_ < cycles_) {
          phase_ = Phase::kStartGame;
        } else {
          phase_ = Phase::kDone;
          step_.stop();
          QCoreApplication::quit();
        }
        return;
      case Phase::kDone:
        return;
    }
  }

  QtHost& host_;
  int cycles_;
  QTimer step_;
  Phase phase_ = Phase::kOpenRanking;
  QPointer<Form2Widget> ranking_;
  int done_ = 0;
};

// The ten places of the list, so that every game's score enters it.
bool WriteScoreFile() {
  QFile file(QStringLiteral("HiScore.dat"));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  file.write("900,800,700,600,500,400,300,200,100,50\r\n");
  for (int i = 0; i < 10; ++i) file.write("Aoi\r\n");
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
  if (!WriteScoreFile()) {
    std::fputs("pellmora_bench_memory: cannot write HiScore.dat here\n", stderr);
    return 1;
  }
  QApplication app(argc, argv);
  translations::InstallJapanese();
  fonts::InstallSubstitutes();
  QtHost host;
  host.Start();
  Player player(host, cycles);
  player.Start();
  std::printf("start_rss_kib %ld\n", ResidentKiB());
  const int status = QApplication::exec();
  QFile::remove(QStringLiteral("HiScore.dat"));
  return status;
}
