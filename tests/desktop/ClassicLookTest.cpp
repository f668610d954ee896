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
#include <vector>

#include "PlayTestSupport.h"
#include "desktop/CaretLineEdit.h"
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
  EXPECT_EQ(ColourAt(plain, 408, 320), kDarkShadow);
  EXPECT_EQ(ColourAt(plain, 300, 344), kDarkShadow);
  EXPECT_EQ(ColourAt(plain, 407, 343), kShadow);

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

// Edges, picture and focus mark drawn in whole 2 x 2 blocks: the button at
// zoom 2 is its zoom-1 picture enlarged, pixel for pixel.
TEST_F(ClassicLook, AtZoomTwoAFocusedMenuButtonIsItsZoomOnePictureEnlarged) {
  Window().activateWindow();
  if (!playtest::WaitUntil([&] { return Window().isActiveWindow(); }, 5000) &&
      playtest::OnWayland()) {
    GTEST_SKIP() << "no keyboard focus on this Wayland compositor";
  }
  Window().Command(0).setFocus();
  ASSERT_TRUE(Window().Command(0).hasFocus());
  const QImage one = ShotOf(Window().Command(0));
  Window().setFixedSize(1280, 960);  // the field at zoom 2, whatever the screen takes
  ASSERT_EQ(Window().Placement().factor, 2);
  const QImage two = ShotOf(Window().Command(0));
  EXPECT_TRUE(two == one.scaled(one.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation));
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

TEST_F(RankingLook, TheWindowTakesTheGameWindowsZoomAndAFocusedScoreBoxItsCaret) {
  host->Session().ShowForm2();
  QPointer<Form2Widget> form2 = host->RankingWindow();
  ASSERT_FALSE(form2.isNull());
  const int ink1 = playtest::InkHeight(ShotOf(*form2), form2->Label1(0).geometry());
  Window().setFixedSize(1280, 960);
  EXPECT_EQ(form2->size(), QSize(2 * 529, 2 * 268));
  const QImage shot = ShotOf(*form2);
  // Edges two pixels a line: the close button (864..1025 across) and the
  // rank-1 score box (544..817).
  for (int d = 0; d < 2; ++d) {
    EXPECT_EQ(ColourAt(shot, 864 + d, 260), kWhite) << d;
    EXPECT_EQ(ColourAt(shot, 1025 - d, 260), kDarkShadow) << d;
    EXPECT_EQ(ColourAt(shot, 1023 - d, 260), kShadow) << d;
    EXPECT_EQ(ColourAt(shot, 546 + d, 60), kDarkShadow) << d;
  }
  // The lettering drawn twice as large, at the screen's resolution.
  EXPECT_NEAR(playtest::InkHeight(shot, form2->Label1(0).geometry()), 2 * ink1, 4);

  form2->activateWindow();
  if (!playtest::WaitUntil([&] { return form2->isActiveWindow(); }, 5000) &&
      playtest::OnWayland()) {
    GTEST_SKIP() << "no keyboard focus on this Wayland compositor";
  }
  auto* box = qobject_cast<CaretLineEdit*>(&form2->Text2(0));
  ASSERT_TRUE(box != nullptr && box->hasFocus() && box->isReadOnly());
  // It blinks: caught while it shows, then while it does not, a black
  // column two pixels wide left of the score 0, inside the field.
  QRect caret;
  ASSERT_TRUE(playtest::WaitUntil([&] { return !(caret = box->LockedCaret()).isEmpty(); }, 3000));
  const QImage shown = ShotOf(*box);
  ASSERT_TRUE(playtest::WaitUntil([&] { return box->LockedCaret().isEmpty(); }, 3000));
  const QImage hidden = ShotOf(*box);
  EXPECT_EQ(caret.width(), 2);
  EXPECT_GT(caret.left(), box->width() / 2);
  EXPECT_LT(caret.right(), box->width() - 8);
  for (int y = caret.top(); y <= caret.bottom(); ++y) {
    EXPECT_EQ(ColourAt(shown, caret.right(), y), kBlack) << y;
    EXPECT_EQ(ColourAt(hidden, caret.right(), y), kWhite) << y;
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
    host->Session().MsgBox("text", "message");
    host->Session().InputBox("prompt", "input");
  }
  EXPECT_EQ(checked, 2);
}

QRect PlaceIn(QWidget& box, QWidget* part) {
  return part == nullptr ? QRect() : QRect(part->mapTo(&box, QPoint()), part->size());
}

// The box, then its message or prompt, OK, キャンセル and text box.
std::vector<QRect> PartsOf(QWidget& box) {
  auto* text = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
  auto* buttons = box.findChild<QDialogButtonBox*>();
  return {box.rect(), PlaceIn(box, text != nullptr ? text : box.findChild<QLabel*>()),
          PlaceIn(box, buttons->button(QDialogButtonBox::Ok)),
          PlaceIn(box, buttons->button(QDialogButtonBox::Cancel)),
          PlaceIn(box, box.findChild<QLineEdit*>())};
}

TEST_F(DialogLook, BoxesAreLaidOutAsAtHomeAndGrowWithTheZoom) {
  std::vector<std::vector<QRect>> seen;  // message and input box at zoom 1, then 2
  for (int zoom = 1; zoom <= 2; ++zoom) {
    if (zoom == 2) Window().setFixedSize(1280, 960);
    ModalWatcher watcher([&](QWidget& box) { seen.push_back(PartsOf(box)); });
    host->Session().MsgBox("あなたの得点は55点でした。", "ゲームオーバー");
    host->Session().InputBox("名前を入力してください。", "スコア更新");
  }
  ASSERT_EQ(seen.size(), 4u);
  enum { kBox, kText, kOk, kCancel, kInput };
  const std::vector<QRect>& m = seen[0];
  const std::vector<QRect>& i = seen[1];
  // OK centred beneath the message.
  EXPECT_NEAR(m[kOk].center().x(), m[kBox].center().x(), 1);
  EXPECT_GT(m[kOk].top(), m[kText].bottom());
  // The prompt at the top left, OK above キャンセル at the right, the text
  // box across the bottom.
  EXPECT_LT(i[kText].left() + i[kText].top(), 40);
  EXPECT_EQ(i[kOk].left(), i[kCancel].left());
  EXPECT_LT(i[kOk].bottom(), i[kCancel].top());
  EXPECT_GT(i[kOk].left(), i[kText].right());
  EXPECT_GT(i[kInput].top(), i[kCancel].bottom());
  EXPECT_GT(i[kInput].width(), i[kBox].width() * 3 / 4);
  // At zoom 2 every place and size twice.
  for (int b = 0; b < 2; ++b) {
    for (int part = kBox; part <= kInput; ++part) {
      const QRect& one = seen[b][part];
      EXPECT_EQ(seen[b + 2][part], QRect(one.topLeft() * 2, one.size() * 2)) << b << ", " << part;
    }
  }
}

}  // namespace

}  // namespace pellmora
