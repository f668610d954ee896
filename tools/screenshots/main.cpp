// pellmora-screenshots OUTDIR
// Takes the README's two screenshots from the real game window:
// OUTDIR/screenshot-menu.png, the title and the menu once the title has
// settled, and OUTDIR/screenshot-play.png, a game under way with bonus items
// on the field, paused with the banner up. Run it in an empty folder, where
// the game finds no score table.
#include <QApplication>
#include <QPixmap>
#include <QString>
#include <chrono>
#include <cstdio>

#include "desktop/Fonts.h"
#include "desktop/QtHost.h"
#include "game/Form1.h"
#include "game/Int16.h"
#include "tools/screenshots/EventWait.h"
#include "tools/screenshots/ItemDraw.h"

using namespace pellmora;

namespace {

using namespace std::chrono_literals;

struct ItemPlace {
  ItemKind kind;
  int left;
  int top;
};

// Off the ball's path from the bottom-right corner, clear of each other and
// of the pause banner.
constexpr ItemPlace kItems[] = {{SpeedUpBoth, 300, 60}, {LongVertical, 90, 300}, {Reset, 230, 270}};

// Ticks of flight before the pause: the ball is inside the field then, below
// the banner and far from every paddle.
constexpr int kTicksBeforePause = 25;

int Fail(const char* message) {
  std::fprintf(stderr, "pellmora-screenshots: %s\n", message);
  return 1;
}

bool Save(QWidget& window, const QString& file) {
  return window.grab().save(file, "PNG");
}

// The value whose Int(v * n) is i.
double Step(int i, int n) {
  return (i + 0.5) / n;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc != 2) return Fail("usage: pellmora-screenshots OUTDIR");
  const QString outDir = QString::fromLocal8Bit(argv[1]);
  fonts::InstallSubstitutes();

  QtHost host;
  host.Start();
  if (host.Ended()) return Fail("the game ended at start-up");
  Form1& form = host.Session().Game();

  if (!RunEventsUntil([&form] { return !form.Timer1.Enabled(); }, 10s)) {
    return Fail("the title did not settle");
  }
  if (!form.Command1.Visible) return Fail("the menu did not appear");
  if (!Save(host.Window(), outDir + QStringLiteral("/screenshot-menu.png"))) {
    return Fail("cannot write screenshot-menu.png");
  }

  // Thrown in from the bottom-right corner, 16 pixels along its diagonal.
  host.Session().Random().Queue(Step(2, 4));
  host.Session().Random().Queue(Step(16, 64));
  host.Window().Command(0).click();
  if (form.playing != VbTrue) return Fail("the start button did not start a game");

  // The ticks run here rather than by the clock, so that every run draws the
  // same picture.
  for (int i = 0; i < kTicksBeforePause; ++i) form.Timer2_Timer();
  if (form.playing != VbTrue) return Fail("the game ended before the pause");

  for (const ItemPlace& item : kItems) {
    if (!QueueItemDraw(host, item.kind, item.left, item.top)) {
      return Fail("an item place the game never draws");
    }
    form.Timer4_Timer();
    const ScreenObject& panel = form.Image6[item.kind];
    if (form.itemActive[item.kind] != VbTrue || !panel.Visible ||
        panel.Left != static_cast<float>(item.left) || panel.Top != static_cast<float>(item.top)) {
      return Fail("an item did not appear where it was drawn");
    }
  }

  form.Form_KeyDown(vbKeyEscape);
  if (!RunEventsUntil([&form] { return !form.Timer3.Enabled(); }, 10s)) {
    return Fail("the pause banner did not rise");
  }
  if (!form.Label2.Visible || form.pausing != VbTrue) return Fail("the game is not paused");
  if (!Save(host.Window(), outDir + QStringLiteral("/screenshot-play.png"))) {
    return Fail("cannot write screenshot-play.png");
  }
  return 0;
}
