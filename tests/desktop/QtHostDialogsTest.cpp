// The modal boxes, Qt's Japanese words on their buttons, and the fonts.
#include <QDialogButtonBox>
#include <QFontInfo>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <memory>

#include "QtHostTestSupport.h"
#include "host/Design.h"

namespace pellmora {

namespace {

using qthosttest::StartedHost;

// Runs `check` on the modal box once it is up, from inside its event loop,
// then closes the box if the check left it open. The watch ends with the
// returned timer, so that it cannot reach into a later test.
[[nodiscard]] std::unique_ptr<QTimer> WhenModalBoxOpens(std::function<void(QWidget&)> check) {
  auto poll = std::make_unique<QTimer>();
  poll->setInterval(10);
  QTimer* timer = poll.get();
  QObject::connect(timer, &QTimer::timeout, [timer, check] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) return;
    timer->stop();
    check(*box);
    if (auto* dialog = qobject_cast<QDialog*>(box); dialog != nullptr && dialog->isVisible()) {
      dialog->reject();
    }
  });
  poll->start();
  return poll;
}

using QtHostDialogs = StartedHost;

TEST_F(QtHostDialogs, MessageBoxShowsTextTitleAndOneOkButton) {
  bool seen = false;
  const auto watch = WhenModalBoxOpens([&](QWidget& widget) {
    auto* box = qobject_cast<QMessageBox*>(&widget);
    ASSERT_NE(box, nullptr);
    seen = true;
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8("ゲームオーバー"));
    EXPECT_EQ(box->text(), QString::fromUtf8("あなたの得点は12点でした。"));
    EXPECT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    EXPECT_EQ(box->parentWidget(), &Window());
    box->button(QMessageBox::Ok)->click();
  });
  host->Session().MsgBox("あなたの得点は12点でした。", "ゲームオーバー");
  EXPECT_TRUE(seen);
}

TEST_F(QtHostDialogs, InputBoxGivesTheTypedTextOrNothingOnCancel) {
  const auto typing = WhenModalBoxOpens([&](QWidget& widget) {
    auto* box = qobject_cast<QInputDialog*>(&widget);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->windowTitle(), QString::fromUtf8("スコア更新"));
    EXPECT_EQ(box->labelText(), QString::fromUtf8("名前を入力してください。"));
    EXPECT_EQ(box->textValue(), QString());
    auto* edit = box->findChild<QLineEdit*>();
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->testAttribute(Qt::WA_InputMethodEnabled));
    box->setTextValue(QString::fromUtf8("山田 太郎"));
    box->accept();
  });
  EXPECT_EQ(host->Session().InputBox("名前を入力してください。", "スコア更新"), "山田 太郎");

  const auto cancelling = WhenModalBoxOpens([&](QWidget& widget) {
    auto* box = qobject_cast<QInputDialog*>(&widget);
    ASSERT_NE(box, nullptr);
    box->setTextValue(QStringLiteral("typed, then cancelled"));
    box->reject();
  });
  EXPECT_EQ(host->Session().InputBox("名前を入力してください。", "スコア更新"), "");
}

TEST_F(QtHostDialogs, StandardButtonsReadInJapanese) {
  ASSERT_TRUE(qthosttest::QtHostEnvironment::translationsLoaded);
  QString cancel;
  const auto watch = WhenModalBoxOpens([&](QWidget& widget) {
    auto* box = qobject_cast<QInputDialog*>(&widget);
    ASSERT_NE(box, nullptr);
    auto* buttons = box->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    cancel = buttons->button(QDialogButtonBox::Cancel)->text();
    box->reject();
  });
  host->Session().InputBox("prompt", "title");
  EXPECT_EQ(cancel, QString::fromUtf8("キャンセル"));
}

TEST_F(QtHostDialogs, AnOpeningBoxLetsGoOfTheHeldKeys) {
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
  QApplication::sendEvent(&Window(), &press);
  ASSERT_NE(host->Session().GetAsyncKeyState(vbKeyUp), 0);
  const auto watch =
      WhenModalBoxOpens([](QWidget& widget) { qobject_cast<QDialog*>(&widget)->accept(); });
  host->Session().MsgBox("text", "title");
  EXPECT_EQ(host->Session().GetAsyncKeyState(vbKeyUp), 0);
}

TEST(QtHostFonts, TheDesignNamesResolveToTheIpaFonts) {
  EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8("ＭＳ ゴシック"))).family(),
            QStringLiteral("IPAGothic"));
  EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8("ＭＳ Ｐゴシック"))).family(),
            QStringLiteral("IPAPGothic"));
  EXPECT_EQ(QFontInfo(QFont(QString::fromUtf8("ＭＳ 明朝"))).family(), QStringLiteral("IPAMincho"));

  const QFont title = fonts::DesignFont(design::kTitleFont);
  EXPECT_EQ(QFontInfo(title).family(), QStringLiteral("IPAGothic"));
  EXPECT_EQ(title.pixelSize(), 96);
  EXPECT_FALSE(title.bold());
  const QFont rank = fonts::DesignFont(design::kRankFont[0]);
  EXPECT_EQ(QFontInfo(rank).family(), QStringLiteral("IPAGothic"));
  EXPECT_EQ(rank.pixelSize(), 48);
  EXPECT_TRUE(rank.bold());
  EXPECT_EQ(QFontInfo(fonts::DesignFont(design::kNameFont[3])).family(),
            QStringLiteral("IPAMincho"));
  EXPECT_EQ(QFontInfo(fonts::DesignFont(design::kScoreFont[1])).family(),
            QStringLiteral("IPAPGothic"));
}

}  // namespace

}  // namespace pellmora
