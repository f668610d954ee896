// Shared by the desktop host's tests: the application they need, a started
// host in a scratch working directory, and the background's colours.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QRect>
#include <QTemporaryDir>
#include <memory>

#include "desktop/Fonts.h"
#include "desktop/QtHost.h"
#include "desktop/Translations.h"

namespace pellmora {

namespace qthosttest {

// Widgets need a QApplication; another test file may have made one already.
// The fonts and Qt's Japanese texts are set up as the game's main() does.
class QtHostEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance() == nullptr) {
      static int argc = 1;
      static char name[] = "pellmora_desktop_tests";
      static char* argv[] = {name, nullptr};
      new QApplication(argc, argv);
    }
    ASSERT_NE(qobject_cast<QApplication*>(QCoreApplication::instance()), nullptr)
        << "the desktop tests need a QApplication, not a QGuiApplication";
    fonts::InstallSubstitutes();
    translationsLoaded = translations::InstallJapanese();
  }
  static inline bool translationsLoaded = false;
};

inline ::testing::Environment* const qtHostEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtHostEnvironment);

// A host started as the game starts, in an empty working directory of its
// own (no score file), torn down after each test.
class StartedHost : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(workDir_.isValid());
    previousDir_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(workDir_.path()));
    host = std::make_unique<QtHost>();
    host->Start();
  }
  void TearDown() override {
    host.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QDir::setCurrent(previousDir_);
  }

  Form1& Game() { return host->Session().Game(); }
  TimerDispatch& Timers() { return host->Session().Timers(); }
  // Milliseconds until timer 1..4 fires next.
  std::int64_t UntilDue(int timerId) {
    return (Timers().DueOf(timerId) - Timers().Now()) / TimerDispatch::kMicrosecondsPerMs;
  }
  Form1Widget& Window() { return host->Window(); }
  QImage Shot() { return Window().grab().toImage().convertToFormat(QImage::Format_RGB32); }

  std::unique_ptr<QtHost> host;

 private:
  QTemporaryDir workDir_;
  QString previousDir_;
};

// The background tile's colour at client pixel (x, y): a ramp along x + y
// within each 8 x 8 tile.
inline QRgb TileColour(int x, int y) {
  static constexpr QRgb kRamp[15] = {0x00EB00, 0x00EB00, 0x08EB08, 0x18EB18, 0x18EB18,
                                     0x29EF29, 0x39EF39, 0x39EF39, 0x4AEE4A, 0x5AF35A,
                                     0x6BF36B, 0x6BF36B, 0x7BF77B, 0x8CF78C, 0x8CF78C};
  return kRamp[x % 8 + y % 8];
}

// The next widget after `widget` that the Tab key stops at.
inline QWidget* NextTabStop(QWidget* widget) {
  QWidget* next = widget->nextInFocusChain();
  while (next != widget && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  return next;
}

inline QRgb ColourAt(const QImage& image, int x, int y) {
  return image.pixel(x, y) & 0xFFFFFFu;
}

// The pixels inside `area` that differ from the background tiles, and their
// bounds.
struct NonTile {
  int count = 0;
  QRect bounds;
};
inline NonTile NonTilePixels(const QImage& image, const QRect& area) {
  NonTile result;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (ColourAt(image, x, y) != TileColour(x, y)) {
        ++result.count;
        result.bounds |= QRect(x, y, 1, 1);
      }
    }
  }
  return result;
}

}  // namespace qthosttest

}  // namespace pellmora
