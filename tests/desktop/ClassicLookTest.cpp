// The windows as a player of the home platform knows them: Enter presses the
// focused button, which shows a dotted mark; name boxes take typing; boxes
// have square sunken edges and lie above the labels; the buttons are raised;
// a focused read-only box shows its caret; the boxes' buttons carry words
// only and sit where the home platform puts them. At zoom 2 every window
// grows whole: places, sizes, edges and marks twice.
#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QImage>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <memory>

#include "PlayTestSupport.h"
#include "assets/Pictures.h"
#include "desktop/CaretLineEdit.h"
#include "desktop/QtPictures.h"
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
  const QImage plain = Shot();
  EXPECT_EQ(ColourAt(plain, corner.x(), corner.y()), kMenuFace);
  // The classic raised edge around the 201 x 41 button: light top and left,
  // dark bottom and right.
  EXPECT_EQ(ColourAt(plain, 208, 320), kWhite);
  EXPECT_EQ(ColourAt(plain, 300, 304), kWhite);
  EXPECT_EQ(ColourAt(plain, 209, 320), kLight);
  EXPECT_EQ(ColourAt(plain, 408, 320), kDarkShadow);
  EXPECT_EQ(ColourAt(plain, 300, 344), kDarkShadow);
  EXPECT_EQ(ColourAt(plain, 407, 320), kShadow);
  EXPECT_EQ(ColourAt(plain, 300, 343), kShadow);

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

TEST_F(ClassicLook, AtZoomTwoTheButtonsGrowWhole) {
  // The field at zoom 2, whatever the screen would take.
  Window().setFixedSize(1280, 960);
  ASSERT_EQ(Window().Placement().factor, 2);
  const QImage plain = Shot();
  const QImage picture = QtPixmap(pictures::ButtonPicture(0)).toImage();
  const QPoint button(416, 608);  // the start button, 402 x 82
  for (int d = 0; d < 2; ++d) {
    EXPECT_EQ(ColourAt(plain, button.x() + d, 650), kWhite) << d;
    EXPECT_EQ(ColourAt(plain, button.x() + 2 + d, 650), kLight) << d;
    EXPECT_EQ(ColourAt(plain, button.x() + 401 - d, 650), kDarkShadow) << d;
    EXPECT_EQ(ColourAt(plain, button.x() + 399 - d, 650), kShadow) << d;
    EXPECT_EQ(ColourAt(plain, 600, button.y() + 81 - d), kDarkShadow) << d;
  }
  // The picture two game pixels in, each of its pixels a 2 x 2 block.
  int wrong = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      for (int d = 0; d < 4; ++d) {
        const QPoint at = button + QPoint(4 + 2 * x + d % 2, 4 + 2 * y + d / 2);
        if (ColourAt(plain, at.x(), at.y()) != (picture.pixel(x, y) & 0xFFFFFFu)) ++wrong;
      }
    }
  }
  EXPECT_EQ(wrong, 0) << "of " << picture.width() * picture.height() * 4 << " pixels";

  Window().activateWindow();
  if (!playtest::WaitUntil([&] { return Window().isActiveWindow(); }, 5000) &&
      playtest::OnWayland()) {
    GTEST_SKIP() << "no keyboard focus on this Wayland compositor";
  }
  Window().Command(0).setFocus();
  ASSERT_TRUE(Window().Command(0).hasFocus());
  const QImage focused = Shot();
  // The dotted mark twelve pixels in, in 2 x 2 dots two blocks apart.
  const QPoint mark = button + QPoint(12, 12);
  for (int d = 0; d < 4; ++d) {
    EXPECT_EQ(ColourAt(focused, mark.x() + d % 2, mark.y() + d / 2), kBlack) << d;
    EXPECT_EQ(ColourAt(focused, mark.x() + 4 + d % 2, mark.y() + d / 2), kBlack) << d;
    EXPECT_EQ(ColourAt(focused, mark.x() + d % 2, mark.y() + 4 + d / 2), kBlack) << d;
    EXPECT_EQ(ColourAt(focused, mark.x() + 2 + d % 2, mark.y() + d / 2),
              ColourAt(plain, mark.x() + 2 + d % 2, mark.y() + d / 2))
        << d;
  }
}

using RankingLook = StartedHost;

TEST_F(RankingLook, BoxesLieAboveTheLabelsWithSquareSunkenEdges) {
  host->ShowForm2();
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
  host->ShowForm2();
  QPointer<Form2Widget> form2 = host->RankingWindow();
  ASSERT_FALSE(form2.isNull());
  form2->Text1(2).setFocus();
  Press(form2->Text1(2), Qt::Key_A, QStringLiteral("a"));
  Press(form2->Text1(2), Qt::Key_B, QStringLiteral("b"));
  EXPECT_EQ(form2->Text1(2).text(), QStringLiteral("ab"));
  host->Form2()->Text2[2].Text = "500";
  host->Form2Changed();
  form2->Text2(2).setFocus();
  Press(form2->Text2(2), Qt::Key_9, QStringLiteral("9"));
  EXPECT_EQ(form2->Text2(2).text(), QStringLiteral("500"));
  // Never read back: the game's box keeps what the game put there.
  EXPECT_EQ(host->Form2()->Text1[2].Text, "");
}

TEST_F(RankingLook, TheCloseButtonIsRaisedInItsColourAndTakesEnter) {
  host->ShowForm2();
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
  EXPECT_EQ(host->Form2(), nullptr);
}

TEST_F(RankingLook, TheWindowTakesTheGameWindowsZoom) {
  host->ShowForm2();
  QPointer<Form2Widget> form2 = host->RankingWindow();
  ASSERT_FALSE(form2.isNull());
  const int ink1 = playtest::InkHeight(ShotOf(*form2), form2->Label1(0).geometry());
  Window().setFixedSize(1280, 960);
  ASSERT_EQ(Window().Placement().factor, 2);
  EXPECT_EQ(form2->size(), QSize(2 * 529, 2 * 268));
  const QImage shot = ShotOf(*form2);
  for (int d = 0; d < 2; ++d) {
    // The close button, 864..1025 across and 224..305 down.
    EXPECT_EQ(ColourAt(shot, 864 + d, 260), kWhite) << d;
    EXPECT_EQ(ColourAt(shot, 866 + d, 260), kLight) << d;
    EXPECT_EQ(ColourAt(shot, 1025 - d, 260), kDarkShadow) << d;
    EXPECT_EQ(ColourAt(shot, 1023 - d, 260), kShadow) << d;
    EXPECT_EQ(ColourAt(shot, 940, 305 - d), kDarkShadow) << d;
    // The rank-1 score box, 544..817 across, sunken.
    EXPECT_EQ(ColourAt(shot, 544 + d, 60), kShadow) << d;
    EXPECT_EQ(ColourAt(shot, 546 + d, 60), kDarkShadow) << d;
    EXPECT_EQ(ColourAt(shot, 817 - d, 60), kWhite) << d;
  }
  EXPECT_EQ(ColourAt(shot, 548, 60), kWhite) << "the field starts inside the edge";
  // The lettering drawn twice as large, not enlarged.
  const int ink2 = playtest::InkHeight(shot, form2->Label1(0).geometry());
  EXPECT_NEAR(ink2, 2 * ink1, 4) << ink1 << " at zoom 1";
}

TEST_F(RankingLook, TheFocusedScoreBoxShowsItsCaret) {
  host->ShowForm2();
  QPointer<Form2Widget> form2 = host->RankingWindow();
  ASSERT_FALSE(form2.isNull());
  form2->activateWindow();
  if (!playtest::WaitUntil([&] { return form2->isActiveWindow(); }, 5000) &&
      playtest::OnWayland()) {
    GTEST_SKIP() << "no keyboard focus on this Wayland compositor";
  }
  auto* box = qobject_cast<CaretLineEdit*>(&form2->Text2(0));
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(box->hasFocus());
  ASSERT_TRUE(box->isReadOnly());
  // It blinks: caught while it shows, then while it does not.
  QRect caret;
  ASSERT_TRUE(playtest::WaitUntil([&] { return !(caret = box->LockedCaret()).isEmpty(); }, 3000));
  const QImage shown = ShotOf(*box);
  ASSERT_TRUE(playtest::WaitUntil([&] { return box->LockedCaret().isEmpty(); }, 3000));
  const QImage hidden = ShotOf(*box);
  // Left of the score 0 at the right end, inside the field.
  EXPECT_GT(caret.left(), box->width() / 2);
  EXPECT_LT(caret.right(), box->width() - 4);
  for (int y = caret.top(); y <= caret.bottom(); ++y) {
    EXPECT_EQ(ColourAt(shown, caret.left(), y), kBlack) << y;
    EXPECT_EQ(ColourAt(hidden, caret.left(), y), kWhite) << y;
  }
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
    host->MsgBox("text", "message");
    host->InputBox("prompt", "input");
  }
  EXPECT_EQ(checked, 2);
}

// Where a box's parts lie, in the box's own pixels.
struct BoxParts {
  QSize box;
  QRect text, ok, cancel, input;
};

BoxParts PartsOf(QWidget& box) {
  BoxParts parts{box.size(), {}, {}, {}, {}};
  const auto place = [&box](QWidget* part) {
    return part == nullptr ? QRect() : QRect(part->mapTo(&box, QPoint(0, 0)), part->size());
  };
  if (auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
    parts.text = place(text);
  } else {
    parts.text = place(box.findChild<QLabel*>());
  }
  if (auto* buttons = box.findChild<QDialogButtonBox*>()) {
    parts.ok = place(buttons->button(QDialogButtonBox::Ok));
    parts.cancel = place(buttons->button(QDialogButtonBox::Cancel));
  }
  parts.input = place(box.findChild<QLineEdit*>());
  return parts;
}

QRect Twice(const QRect& rect) {
  return QRect(rect.topLeft() * 2, rect.size() * 2);
}

TEST_F(DialogLook, BoxesAreLaidOutAsAtHomeAndGrowWithTheZoom) {
  BoxParts message[2];
  BoxParts input[2];
  QImage okAtZoom2;
  for (int zoom = 1; zoom <= 2; ++zoom) {
    // The field at zoom 2, whatever the screen would take.
    if (zoom == 2) Window().setFixedSize(1280, 960);
    ModalWatcher watcher([&](QWidget& box) {
      if (qobject_cast<QMessageBox*>(&box) != nullptr) {
        message[zoom - 1] = PartsOf(box);
        if (zoom == 2) okAtZoom2 = ShotOf(*box.findChild<QDialogButtonBox*>()->buttons()[0]);
      } else {
        input[zoom - 1] = PartsOf(box);
      }
    });
    host->MsgBox("あなたの得点は55点でした。", "ゲームオーバー");
    host->InputBox("名前を入力してください。", "スコア更新");
    ASSERT_EQ(watcher.Seen(), 2);
  }
  const BoxParts& m = message[0];
  // The message box: OK centred beneath the text.
  ASSERT_FALSE(m.ok.isEmpty());
  EXPECT_NEAR(m.ok.center().x(), m.box.width() / 2, 1);
  EXPECT_GT(m.ok.top(), m.text.bottom());
  EXPECT_LT(m.text.left(), m.ok.left());
  // The input box: the prompt at the top left, OK above キャンセル at the
  // right, the text box across the bottom.
  const BoxParts& i = input[0];
  ASSERT_FALSE(i.ok.isEmpty());
  ASSERT_FALSE(i.cancel.isEmpty());
  EXPECT_LT(i.text.left(), 20);
  EXPECT_LT(i.text.top(), 20);
  EXPECT_EQ(i.ok.left(), i.cancel.left());
  EXPECT_LT(i.ok.bottom(), i.cancel.top());
  EXPECT_GT(i.ok.left(), i.text.right());
  EXPECT_GT(i.ok.right(), i.box.width() - 20);
  EXPECT_GT(i.input.top(), i.cancel.bottom());
  EXPECT_GT(i.input.top(), i.text.top());
  EXPECT_GT(i.input.width(), i.box.width() * 3 / 4);
  // At zoom 2, everything twice.
  EXPECT_EQ(message[1].box, m.box * 2);
  EXPECT_EQ(message[1].ok, Twice(m.ok));
  EXPECT_EQ(message[1].text, Twice(m.text));
  EXPECT_EQ(input[1].box, i.box * 2);
  EXPECT_EQ(input[1].ok, Twice(i.ok));
  EXPECT_EQ(input[1].cancel, Twice(i.cancel));
  EXPECT_EQ(input[1].input, Twice(i.input));
  // A classic button whose edges are two pixels thick.
  ASSERT_FALSE(okAtZoom2.isNull());
  const QPoint far(okAtZoom2.width() - 1, okAtZoom2.height() - 1);
  for (int d = 0; d < 2; ++d) {
    EXPECT_EQ(ColourAt(okAtZoom2, d, far.y() / 2), kWhite) << d;
    EXPECT_EQ(ColourAt(okAtZoom2, far.x() - d, far.y() / 2), kDarkShadow) << d;
    EXPECT_EQ(ColourAt(okAtZoom2, far.x() / 2, far.y() - d), kDarkShadow) << d;
    EXPECT_EQ(ColourAt(okAtZoom2, far.x() - 2 - d, far.y() / 2), kShadow) << d;
  }
}

}  // namespace

}  // namespace pellmora
