// The ranking window: its layout, its boxes filled by the game, and its
// opening, refilling and closing.
#include <QFontInfo>
#include <QImage>
#include <QPointer>

#include "QtHostTestSupport.h"
#include "host/Design.h"

namespace pellmora {

namespace {

using qthosttest::ColourAt;
using qthosttest::NextTabStop;
using qthosttest::StartedHost;
using qthosttest::TileColour;

using QtHostRanking = StartedHost;

QRect RectOf(const design::Cell& cell) {
  return QRect(cell.left, cell.top, cell.width, cell.height);
}

TEST_F(QtHostRanking, OpensWithTheDesignLayout) {
  host->Session().ShowForm2();
  Form2Widget* form2 = host->RankingWindow();
  ASSERT_NE(form2, nullptr);
  ASSERT_NE(host->Session().Form2(), nullptr);
  EXPECT_TRUE(form2->isVisible());
  EXPECT_EQ(form2->windowTitle(), QString::fromUtf8("ハイスコア ランキング"));
  EXPECT_EQ(form2->size(), QSize(529, 268));
  EXPECT_EQ(form2->minimumSize(), form2->maximumSize());
  EXPECT_EQ(form2->parentWidget(), nullptr);  // no owner
  EXPECT_FALSE(form2->windowIcon().isNull());

  for (int i = 0; i < 10; ++i) {
    const design::RankRow& row = design::kRankRows[i];
    EXPECT_EQ(form2->Label1(i).geometry(), RectOf(row.rank)) << i;
    EXPECT_EQ(form2->Text1(i).geometry(), RectOf(row.name)) << i;
    EXPECT_EQ(form2->Text2(i).geometry(), RectOf(row.score)) << i;
    EXPECT_EQ(form2->Label2(i).geometry(), RectOf(row.unit)) << i;
    // All four cells of a rank on one row.
    EXPECT_EQ(form2->Label1(i).y(), form2->Text1(i).y());
    EXPECT_EQ(form2->Text2(i).y(), form2->Label2(i).y());

    EXPECT_EQ(form2->Label1(i).text(), QString::number(i + 1));
    EXPECT_EQ(form2->Label2(i).text(), QString::fromUtf8("点"));
    EXPECT_TRUE(form2->Label1(i).alignment() & Qt::AlignHCenter);
    EXPECT_TRUE(form2->Label2(i).alignment() & Qt::AlignLeft);
    EXPECT_TRUE(form2->Text1(i).alignment() & Qt::AlignLeft);
    EXPECT_TRUE(form2->Text2(i).alignment() & Qt::AlignRight);
    EXPECT_FALSE(form2->Text1(i).isReadOnly()) << "names take typing";
    EXPECT_TRUE(form2->Text2(i).isReadOnly());
    EXPECT_TRUE(form2->Text1(i).hasFrame());

    const QFontInfo rank(form2->Label1(i).font());
    EXPECT_EQ(rank.family(), QStringLiteral("IPAGothic")) << i;
    EXPECT_EQ(rank.pixelSize(), design::kRankFont[i].pixelSize) << i;
    EXPECT_TRUE(rank.bold()) << i;
    EXPECT_EQ(QFontInfo(form2->Label2(i).font()).family(), QStringLiteral("IPAGothic")) << i;
    const QFontInfo name(form2->Text1(i).font());
    EXPECT_EQ(name.family(), QStringLiteral("IPAMincho")) << i;
    EXPECT_EQ(name.pixelSize(), design::kNameFont[i].pixelSize) << i;
    EXPECT_FALSE(name.bold()) << i;
    const QFontInfo score(form2->Text2(i).font());
    EXPECT_EQ(score.family(), QStringLiteral("IPAPGothic")) << i;
    EXPECT_EQ(score.pixelSize(), design::kScoreFont[i].pixelSize) << i;
  }
  EXPECT_EQ(form2->Command1().geometry(), QRect(432, 112, 81, 41));
  EXPECT_EQ(form2->Command1().text(), QString::fromUtf8("閉じる"));
}

TEST_F(QtHostRanking, DrawsTheRankColoursOverTheBackground) {
  host->Session().ShowForm2();
  Form2Widget* form2 = host->RankingWindow();
  ASSERT_NE(form2, nullptr);
  const QImage shot = form2->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(shot.size(), QSize(529, 268));
  for (int i = 0; i < 10; ++i) {
    const design::RankRow& row = design::kRankRows[i];
    // Top-left corners, clear of the lettering.
    EXPECT_EQ(ColourAt(shot, row.rank.left + 1, row.rank.top + 1), design::kRankBackColor[i])
        << "rank " << i + 1;
    EXPECT_EQ(ColourAt(shot, row.unit.left + 1, row.unit.top + 1), design::kRankBackColor[i])
        << "unit " << i + 1;
    // The boxes' fields are white inside their frames.
    EXPECT_EQ(ColourAt(shot, row.name.left + row.name.width / 2, row.name.top + 4), 0xFFFFFFu)
        << "name " << i + 1;
    EXPECT_EQ(ColourAt(shot, row.score.left + row.score.width / 2, row.score.top + 4), 0xFFFFFFu)
        << "score " << i + 1;
  }
  // The game's background, unscaled from the top-left corner.
  for (const QPoint p : {QPoint(0, 0), QPoint(7, 7), QPoint(520, 260), QPoint(528, 267),
                         QPoint(470, 80), QPoint(260, 250)}) {
    EXPECT_EQ(ColourAt(shot, p.x(), p.y()), TileColour(p.x(), p.y())) << p.x() << "," << p.y();
  }
  // The close button's face.
  EXPECT_EQ(ColourAt(shot, 432 + 6, 112 + 6), 0xC0FFFFu);
  EXPECT_EQ(ColourAt(shot, 432 + 74, 112 + 34), 0xC0FFFFu);
}

TEST_F(QtHostRanking, FocusStartsOnTheFirstScoreAndRunsScoresCloseNames) {
  host->Session().ShowForm2();
  Form2Widget* form2 = host->RankingWindow();
  ASSERT_NE(form2, nullptr);
  EXPECT_EQ(form2->focusWidget(), &form2->Text2(0));
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(NextTabStop(&form2->Text2(i)), &form2->Text2(i + 1)) << i;
    EXPECT_EQ(NextTabStop(&form2->Text1(i)), &form2->Text1(i + 1)) << i;
  }
  EXPECT_EQ(NextTabStop(&form2->Text2(9)), &form2->Command1());
  EXPECT_EQ(NextTabStop(&form2->Command1()), &form2->Text1(0));
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(form2->Label1(i).focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(form2->Label2(i).focusPolicy(), Qt::NoFocus);
  }
}

TEST_F(QtHostRanking, TheRankingButtonFillsOneWindowFromTheTable) {
  Game().hiScoreTable.hiScores[0] = 1234;
  Game().hiScoreTable.hiNames[0] = " 山田, \"太郎\"";
  Game().hiScoreTable.hiScores[1] = -5;
  Game().hiScoreTable.hiNames[1] = "B";
  Game().Command2.Visible = true;
  Window().SyncButtons();
  Window().Command(1).click();

  Form2Widget* form2 = host->RankingWindow();
  ASSERT_NE(form2, nullptr);
  EXPECT_EQ(form2->Text1(0).text(), QString::fromUtf8(" 山田, \"太郎\""));
  EXPECT_EQ(form2->Text2(0).text(), QStringLiteral("1234"));
  EXPECT_EQ(form2->Text2(1).text(), QStringLiteral("-5"));
  EXPECT_EQ(form2->Text1(9).text(), QString());
  EXPECT_EQ(form2->Text2(9).text(), QStringLiteral("0"));

  // A second click refills the same window.
  Game().hiScoreTable.hiScores[0] = 2000;
  Window().Command(1).click();
  EXPECT_EQ(host->RankingWindow(), form2);
  EXPECT_EQ(form2->Text2(0).text(), QStringLiteral("2000"));
  EXPECT_TRUE(form2->isVisible());
}

TEST_F(QtHostRanking, TheCloseButtonUnloadsAndTheNextOpeningStartsAfresh) {
  host->Session().ShowForm2();
  QPointer<Form2Widget> first = host->RankingWindow();
  ASSERT_FALSE(first.isNull());
  host->Session().Form2()->Text1[0].Text = "typed";
  host->Session().Form2Changed();
  EXPECT_EQ(first->Text1(0).text(), QStringLiteral("typed"));

  first->Command1().click();
  EXPECT_EQ(host->Session().Form2(), nullptr);
  EXPECT_EQ(host->RankingWindow(), nullptr);
  EXPECT_FALSE(first->isVisible());
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(first.isNull());

  Form2Controls& again = host->Session().ShowForm2();
  EXPECT_EQ(again.Text1[0].Text, "");
  ASSERT_NE(host->RankingWindow(), nullptr);
  EXPECT_EQ(host->RankingWindow()->Text1(0).text(), QString());
}

TEST_F(QtHostRanking, EveryOpeningShowsTheGameWindowsOwnIcon) {
  // A new icon at each opening would leave its pixmaps in Qt's pixmap cache
  // under a new key every time: memory that grows with every opening.
  const qint64 gameIcon = Window().windowIcon().cacheKey();
  for (int opening = 0; opening < 2; ++opening) {
    host->Session().ShowForm2();
    ASSERT_NE(host->RankingWindow(), nullptr);
    EXPECT_EQ(host->RankingWindow()->windowIcon().cacheKey(), gameIcon) << opening;
    host->Session().UnloadForm2();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }
}

TEST_F(QtHostRanking, ClosingByTheTitleBarUnloadsToo) {
  host->Session().ShowForm2();
  QPointer<Form2Widget> form2 = host->RankingWindow();
  ASSERT_FALSE(form2.isNull());
  form2->close();
  EXPECT_EQ(host->Session().Form2(), nullptr);
  EXPECT_EQ(host->RankingWindow(), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(form2.isNull());
  EXPECT_TRUE(Window().isVisible());
  EXPECT_FALSE(host->Ended());
}

}  // namespace

}  // namespace pellmora
