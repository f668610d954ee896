// The ranking as the player meets it: the table read from the score file at
// start-up shown in the forty cells, the ranking button and the close button
// worked by the mouse, and the name prompt after a game whose score enters
// the list, saving the typed name in Shift_JIS.
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>

#include "PlayTestSupport.h"
#include "host/Design.h"

namespace pellmora {

namespace {

using playtest::ClickAt;
using playtest::EventTarget;
using playtest::InkHeight;
using playtest::MenuHost;
using playtest::ModalWatcher;
using playtest::ReadFile;
using playtest::SendKey;
using playtest::Visible;
using playtest::WaitUntil;
using playtest::WriteFile;

// Ten names as the score file holds them (Shift_JIS) and as the game shows
// them.
struct Name {
  const char* shiftJis;
  const char* utf8;
};
constexpr Name kNames[10] = {{"\x8e\x52\x93\x63", "山田"}, {"\x8d\xb2\x93\xa1", "佐藤"},
                             {"\x97\xe9\x96\xd8", "鈴木"}, {"\x8d\x82\x8b\xb4", "高橋"},
                             {"\x93\x63\x92\x86", "田中"}, {"\x88\xc9\x93\xa1", "伊藤"},
                             {"\x93\x6e\x95\xd3", "渡辺"}, {"\x92\x86\x91\xba", "中村"},
                             {"\x8f\xac\x97\xd1", "小林"}, {"Aoi, \"x\"", "Aoi, \"x\""}};

QByteArray ScoreFile(const char* scoreLine, const QByteArray (&names)[10]) {
  QByteArray bytes(scoreLine);
  bytes += "\r\n";
  for (const QByteArray& name : names) bytes += name + "\r\n";
  return bytes;
}

QByteArray StoredNames(int i) {
  return QByteArray(kNames[i].shiftJis);
}

QPoint Centre(const QRect& rect) {
  return rect.center();
}

class RankingWindow : public MenuHost {
 protected:
  // Restarts the game with a score file holding `scores` for the ten names.
  void StartWithScores(const char* scores) {
    QByteArray names[10];
    for (int i = 0; i < 10; ++i) names[i] = StoredNames(i);
    fileBytes_ = ScoreFile(scores, names);
    RestartWith([this] { ASSERT_TRUE(WriteFile(kHiScoreFileName, fileBytes_)); });
  }

  // The ranking button, clicked with the mouse at its place.
  Form2Widget* ClickRanking() {
    EXPECT_TRUE(Visible(Window().Command(1), Window()));
    ClickAt(Window(), Centre(Window().Command(1).geometry()));
    return host->RankingWindow();
  }

  int RankingWindowsOnScreen() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (qobject_cast<Form2Widget*>(widget) != nullptr && widget->isVisible()) ++count;
    }
    return count;
  }

  QByteArray fileBytes_;
};

TEST_F(RankingWindow, TheFortyCellsShowTheTableReadAtStartUp) {
  StartWithScores("700,600,500,400,300,200,100,90,80,70");
  Form2Widget* form2 = ClickRanking();
  ASSERT_NE(form2, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return form2->isVisible(); }, 5000));
  const int scores[10] = {700, 600, 500, 400, 300, 200, 100, 90, 80, 70};
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(form2->Label1(i).text(), QString::number(i + 1));
    EXPECT_EQ(form2->Text1(i).text(), QString::fromUtf8(kNames[i].utf8)) << "rank " << i + 1;
    EXPECT_EQ(form2->Text2(i).text(), QString::number(scores[i])) << "rank " << i + 1;
    EXPECT_EQ(form2->Label2(i).text(), QString::fromUtf8("点"));
    for (QWidget* cell :
         {static_cast<QWidget*>(&form2->Label1(i)), static_cast<QWidget*>(&form2->Text1(i)),
          static_cast<QWidget*>(&form2->Text2(i)), static_cast<QWidget*>(&form2->Label2(i))}) {
      EXPECT_TRUE(cell->isVisible()) << "rank " << i + 1;
    }
  }

  // Rank 1 in large letters, rank 4 in small ones: the drawn glyphs say so.
  const QImage shot = form2->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const int rank1 = InkHeight(shot, form2->Label1(0).geometry());
  const int rank4 = InkHeight(shot, form2->Label1(3).geometry());
  EXPECT_GE(rank4, 8);
  EXPECT_GE(rank1, 2 * rank4) << rank1 << " vs " << rank4;
  const int name1 = InkHeight(shot, form2->Text1(0).geometry().adjusted(4, 4, -4, -4));
  const int name4 = InkHeight(shot, form2->Text1(3).geometry().adjusted(4, 4, -4, -4));
  EXPECT_GE(name4, 8);
  EXPECT_GE(name1, 2 * name4) << name1 << " vs " << name4;
  const int score1 = InkHeight(shot, form2->Text2(0).geometry().adjusted(4, 4, -4, -4));
  const int score4 = InkHeight(shot, form2->Text2(3).geometry().adjusted(4, 4, -4, -4));
  EXPECT_GE(score4, 7);
  EXPECT_GE(score1, 2 * score4) << score1 << " vs " << score4;

  // Showing the list wrote nothing.
  EXPECT_EQ(ReadFile(kHiScoreFileName), fileBytes_);
}

TEST_F(RankingWindow, ASecondClickRefillsTheOneWindowAndTheCloseButtonUnloadsIt) {
  Form2Widget* first = ClickRanking();
  ASSERT_NE(first, nullptr);
  QPointer<Form2Widget> opened = first;
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(first->Text1(i).text(), QString());
    EXPECT_EQ(first->Text2(i).text(), QStringLiteral("0"));
  }

  for (int i = 0; i < 10; ++i) {
    Game().hiScoreTable.hiScores[i] = static_cast<int16_t>(1000 - 10 * i);
    Game().hiScoreTable.hiNames[i] = kNames[9 - i].utf8;
  }
  EXPECT_EQ(ClickRanking(), first);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_FALSE(opened.isNull());
  EXPECT_EQ(host->RankingWindow(), first);
  EXPECT_EQ(RankingWindowsOnScreen(), 1);
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(first->Text1(i).text(), QString::fromUtf8(kNames[9 - i].utf8)) << i;
    EXPECT_EQ(first->Text2(i).text(), QString::number(1000 - 10 * i)) << i;
  }

  // The close button, clicked with the mouse, unloads the window.
  ClickAt(*first, Centre(first->Command1().geometry()));
  EXPECT_EQ(host->Session().Form2(), nullptr);
  EXPECT_EQ(host->RankingWindow(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(opened.isNull());
  EXPECT_EQ(RankingWindowsOnScreen(), 0);
  EXPECT_TRUE(Window().isVisible());
  EXPECT_FALSE(host->Ended());
  // The menu still works: the list opens again, filled afresh.
  Form2Widget* again = ClickRanking();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Text2(9).text(), QStringLiteral("910"));
}

// Plays a game that ends with `score` points, the right paddle moved off.
class NameEntry : public RankingWindow {
 protected:
  void PlayAndLoseWith(int16_t score) {
    ASSERT_TRUE(Visible(Window().Command(0), Window()));
    ClickAt(Window(), Centre(Window().Command(0).geometry()));
    ASSERT_EQ(Game().playing, VbTrue);
    MakePaddlesSafe();
    LoseTheBallOnTheRight();
    Game().score = score;
    ASSERT_TRUE(WaitUntil([&] { return Visible(Window().Command(0), Window()); }, 15000))
        << "the game did not end";
  }
};

TEST_F(NameEntry, TheTypedNameGoesIntoTheFileInShiftJis) {
  StartWithScores("100,90,80,70,60,50,40,30,20,10");

  QString promptTitle;
  QString prompt;
  QString startText = QStringLiteral("unset");
  QString okText;
  QString cancelText;
  QString scoreText;
  int order = 0;
  int promptAt = 0;
  int scoreBoxAt = 0;
  ModalWatcher watcher([&](QWidget& widget) {
    ++order;
    if (auto* input = qobject_cast<QInputDialog*>(&widget)) {
      promptAt = order;
      promptTitle = input->windowTitle();
      prompt = input->labelText();
      startText = input->textValue();
      auto* buttons = input->findChild<QDialogButtonBox*>();
      ASSERT_NE(buttons, nullptr);
      ASSERT_NE(buttons->button(QDialogButtonBox::Ok), nullptr);
      ASSERT_NE(buttons->button(QDialogButtonBox::Cancel), nullptr);
      okText = buttons->button(QDialogButtonBox::Ok)->text();
      cancelText = buttons->button(QDialogButtonBox::Cancel)->text();
      auto* edit = input->findChild<QLineEdit*>();
      ASSERT_NE(edit, nullptr);
      // Kanji come from the input method, the Latin letter from the keyboard;
      // Return confirms.
      QInputMethodEvent composed;
      composed.setCommitString(QString::fromUtf8("山田"));
      QApplication::sendEvent(edit, &composed);
      SendKey(EventTarget(*input), QEvent::KeyPress, Qt::Key_A, false, QStringLiteral("A"));
      SendKey(EventTarget(*input), QEvent::KeyRelease, Qt::Key_A, false, QStringLiteral("A"));
      SendKey(EventTarget(*input), QEvent::KeyPress, Qt::Key_Return);
    } else if (auto* box = qobject_cast<QMessageBox*>(&widget)) {
      scoreBoxAt = order;
      scoreText = box->text();
      box->accept();
    }
  });
  PlayAndLoseWith(55);

  EXPECT_EQ(watcher.Seen(), 2);
  EXPECT_EQ(promptAt, 1) << "the name is asked before the score is shown";
  EXPECT_EQ(scoreBoxAt, 2);
  EXPECT_EQ(promptTitle, QString::fromUtf8("スコア更新"));
  EXPECT_EQ(prompt, QString::fromUtf8("名前を入力してください。"));
  EXPECT_EQ(startText, QString());
  EXPECT_EQ(cancelText, QString::fromUtf8("キャンセル"));
  EXPECT_FALSE(okText.isEmpty());
  EXPECT_EQ(scoreText, QString::fromUtf8("あなたの得点は55点でした。"));

  QByteArray names[10];
  for (int i = 0; i < 5; ++i) names[i] = StoredNames(i);
  names[5] =
      "\x8e\x52\x93\x63"
      "A";  // 山田A
  for (int i = 6; i < 10; ++i) names[i] = StoredNames(i - 1);
  EXPECT_EQ(ReadFile(kHiScoreFileName), ScoreFile("100,90,80,70,60,55,50,40,30,20", names));

  // The list shows the new entry in the game's own text.
  Form2Widget* form2 = ClickRanking();
  ASSERT_NE(form2, nullptr);
  EXPECT_EQ(form2->Text1(5).text(), QString::fromUtf8("山田A"));
  EXPECT_EQ(form2->Text2(5).text(), QStringLiteral("55"));
}

TEST_F(NameEntry, CancellingThePromptStoresNameless) {
  StartWithScores("100,90,80,70,60,50,40,30,20,10");
  bool cancelled = false;
  ModalWatcher watcher([&](QWidget& widget) {
    if (auto* input = qobject_cast<QInputDialog*>(&widget)) {
      auto* edit = input->findChild<QLineEdit*>();
      ASSERT_NE(edit, nullptr);
      SendKey(EventTarget(*input), QEvent::KeyPress, Qt::Key_B, false, QStringLiteral("B"));
      auto* buttons = input->findChild<QDialogButtonBox*>();
      ASSERT_NE(buttons, nullptr);
      QPushButton* cancel = buttons->button(QDialogButtonBox::Cancel);
      ASSERT_NE(cancel, nullptr);
      ClickAt(*input, cancel->mapTo(input, cancel->rect().center()));
      cancelled = !input->isVisible();
    } else if (auto* box = qobject_cast<QMessageBox*>(&widget)) {
      box->accept();
    }
  });
  PlayAndLoseWith(95);
  EXPECT_TRUE(cancelled) << "the cancel button did not close the prompt";
  EXPECT_EQ(watcher.Seen(), 2);

  QByteArray names[10];
  names[0] = StoredNames(0);
  names[1] = "\x96\xbc\x96\xb3\x82\xb5";  // 名無し
  for (int i = 2; i < 10; ++i) names[i] = StoredNames(i - 1);
  EXPECT_EQ(ReadFile(kHiScoreFileName), ScoreFile("100,95,90,80,70,60,50,40,30,20", names));
}

}  // namespace

}  // namespace pellmora
