// The windows as a player of the home platform knows them: Enter presses the
// focused button, which shows a dotted mark; name boxes take typing; boxes
// have square sunken edges and lie above the labels; the close button is
// raised; the boxes' buttons carry words only.
#include <QAbstractButton>
#include <QImage>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "PlayTestSupport.h"
#include "host/Design.h"

namespace pellmora {

namespace {

using playtest::MenuHost;
using playtest::ModalWatcher;
using playtest::SendKey;
using qthosttest::ColourAt;
using qthosttest::StartedHost;

// The home platform's edge colours.
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kLight = 0xD4D0C8;
constexpr QRgb kShadow = 0x808080;
constexpr QRgb kDarkShadow = 0x404040;
constexpr QRgb kBlack = 0x000000;

void Press(QWidget& widget, int key, const QString& text = QString()) {
  SendKey(&widget, QEvent::KeyPress, key, false, text);
  SendKey(&widget, QEvent::KeyRelease, key, false, text);
}

QImage ShotOf(QWidget& widget) {
  return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

using ClassicLook = MenuHost;

TEST_F(ClassicLook, EnterPressesTheFocusedMenuButtonWhichShowsADottedMark) {
  // Before the focus comes, the face inside the picture's frame is plain.
  constexpr QRgb kMenuFace = 0xFCE2D4;
  const QPoint corner(208 + 6, 304 + 6);  // the mark's top-left corner
  EXPECT_EQ(ColourAt(Shot(), corner.x(), corner.y()), kMenuFace);

  Window().activateWindow();
  if (!playtest::WaitUntil([&] { return Window().isActiveWindow(); }, 5000) &&
      playtest::OnWayland()) {
    GTEST_SKIP() << "no keyboard focus on this Wayland compositor";
  }
  ASSERT_TRUE(Window().isActiveWindow());
  Window().Command(0).setFocus();
  ASSERT_TRUE(Window().Command(0).hasFocus());
  const QImage focused = Shot();
  // Black on every other pixel of the mark's outline, the face between.
  for (int x = corner.x(); x <= 208 + 200 - 6; x += 2) {
    EXPECT_EQ(ColourAt(focused, x, corner.y()), kBlack) << x;
  }
  EXPECT_EQ(ColourAt(focused, corner.x() + 1, corner.y()), kMenuFace);
  for (int y = corner.y(); y <= 304 + 40 - 6; y += 2) {
    EXPECT_EQ(ColourAt(focused, corner.x(), y), kBlack) << y;
  }
  // Only the focused button shows it.
  EXPECT_EQ(ColourAt(focused, corner.x(), 360 + 6), kMenuFace);

  Press(Window().Command(0), Qt::Key_Return);
  EXPECT_EQ(Game().playing, VbTrue) << "Enter started the game";
  EXPECT_TRUE(Running(Game().Timer2));
}

using RankingLook = StartedHost;

TEST_F(RankingLook, BoxesLieAboveTheLabelsWithSquareSunkenEdges) {
  host->Session().ShowForm2();
  Form2Widget* form2 = host->RankingWindow();
  ASSERT_NE(form2, nullptr);
  const QImage shot = ShotOf(*form2);
  // The rank-1 score box, 272..408 across and 8..56 down, touches the unit
  // label (408..456) along its last column: its edge shows there.
  EXPECT_EQ(ColourAt(shot, 408, 30), kWhite);
  EXPECT_EQ(ColourAt(shot, 409, 30), design::kRankBackColor[0]);
  EXPECT_EQ(ColourAt(shot, 407, 30), kLight);
  EXPECT_EQ(ColourAt(shot, 272, 30), kShadow);
  EXPECT_EQ(ColourAt(shot, 273, 30), kDarkShadow);
  EXPECT_EQ(ColourAt(shot, 340, 8), kShadow);
  EXPECT_EQ(ColourAt(shot, 340, 9), kDarkShadow);
  EXPECT_EQ(ColourAt(shot, 340, 56), kWhite);
  EXPECT_EQ(ColourAt(shot, 340, 55), kLight);
  // Square corners: no background between the edges.
  EXPECT_EQ(ColourAt(shot, 272, 8), kShadow);
  EXPECT_EQ(ColourAt(shot, 408, 56), kWhite);
  EXPECT_EQ(ColourAt(shot, 274, 10), kWhite) << "the field starts inside the edge";
  // The rank-4 name box over its rank label's last column (24).
  EXPECT_EQ(ColourAt(shot, 24, 170), kShadow);
  EXPECT_EQ(ColourAt(shot, 23, 170), design::kRankBackColor[3]);
}

TEST_F(RankingLook, NamesTakeTypingAndScoresDoNot) {
  host->Session().ShowForm2();
  QPointer<Form2Widget> form2 = host->RankingWindow();
  ASSERT_FALSE(form2.isNull());
  form2->Text1(2).setFocus();
  Press(form2->Text1(2), Qt::Key_A, QStringLiteral("a"));
  Press(form2->Text1(2), Qt::Key_B, QStringLiteral("b"));
  EXPECT_EQ(form2->Text1(2).text(), QStringLiteral("ab"));
  host->Session().Form2()->Text2[2].Text = "500";
  host->Session().Form2Changed();
  form2->Text2(2).setFocus();
  Press(form2->Text2(2), Qt::Key_9, QStringLiteral("9"));
  EXPECT_EQ(form2->Text2(2).text(), QStringLiteral("500"));
  // Never read back: the game's box keeps what the game put there.
  EXPECT_EQ(host->Session().Form2()->Text1[2].Text, "");
}

TEST_F(RankingLook, TheCloseButtonIsRaisedInItsColourAndTakesEnter) {
  host->Session().ShowForm2();
  QPointer<Form2Widget> form2 = host->RankingWindow();
  ASSERT_FALSE(form2.isNull());
  const QImage shot = ShotOf(*form2);
  // 432..512 across, 112..152 down.
  EXPECT_EQ(ColourAt(shot, 432, 130), kWhite);
  EXPECT_EQ(ColourAt(shot, 470, 112), kWhite);
  EXPECT_EQ(ColourAt(shot, 433, 130), kLight);
  EXPECT_EQ(ColourAt(shot, 512, 130), kDarkShadow);
  EXPECT_EQ(ColourAt(shot, 470, 152), kDarkShadow);
  EXPECT_EQ(ColourAt(shot, 511, 130), kShadow);
  EXPECT_EQ(ColourAt(shot, 436, 116), design::kForm2CloseBackColor);
  EXPECT_EQ(ColourAt(shot, 508, 148), design::kForm2CloseBackColor);

  form2->activateWindow();
  if (!playtest::WaitUntil([&] { return form2->isActiveWindow(); }, 5000) &&
      playtest::OnWayland()) {
    GTEST_SKIP() << "no keyboard focus on this Wayland compositor";
  }
  ASSERT_TRUE(form2->isActiveWindow());
  form2->Command1().setFocus();
  ASSERT_TRUE(form2->Command1().hasFocus());
  const QImage focused = ShotOf(*form2);
  EXPECT_EQ(ColourAt(focused, 436, 116), kBlack) << "the focus mark";
  EXPECT_EQ(ColourAt(focused, 437, 116), design::kForm2CloseBackColor);

  Press(form2->Command1(), Qt::Key_Enter);
  EXPECT_EQ(host->RankingWindow(), nullptr) << "Enter closed the window";
  EXPECT_EQ(host->Session().Form2(), nullptr);
}

using DialogLook = StartedHost;

TEST_F(DialogLook, BoxesShowWordsOnlyAndNoMinimiseOrMaximise) {
  int checked = 0;
  auto check = [&](QWidget& box) {
    const Qt::WindowFlags flags = box.windowFlags();
    EXPECT_FALSE(flags & Qt::WindowMinimizeButtonHint) << box.windowTitle().toStdString();
    EXPECT_FALSE(flags & Qt::WindowMaximizeButtonHint) << box.windowTitle().toStdString();
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint);
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint);
    EXPECT_EQ(box.minimumSize(), box.maximumSize()) << "one fixed size, nothing to maximise";
    const auto buttons = box.findChildren<QAbstractButton*>();
    EXPECT_FALSE(buttons.isEmpty());
    for (QAbstractButton* button : buttons) {
      EXPECT_TRUE(button->icon().isNull()) << button->text().toStdString();
    }
    ++checked;
  };
  {
    ModalWatcher watcher(check);
    host->Session().MsgBox("text", "message");
    host->Session().InputBox("prompt", "input");
  }
  EXPECT_EQ(checked, 2);
}

}  // namespace

}  // namespace pellmora
