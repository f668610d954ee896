#include "tools/soak/SoakRun.h"

#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

#include "game/Int16.h"
#include "scores/ScoreFile.h"
#include "tools/soak/MemoryUse.h"
#include "tools/soak/SoakFailure.h"
#include "tools/soak/TickChecks.h"

namespace pellmora {

namespace {

constexpr int kTickMs = 10;
constexpr std::int64_t kGamesPerStart = 120;
// Memory is compared from the end of the warm-up on; by then every code path
// (name entry, pause, ranking window, each kind of start) has run at least once.
constexpr std::int64_t kWarmUpGames = 2 * kGamesPerStart;
constexpr long kResidentBoundKiB = 4 * 1024;
constexpr long long kHeapBoundBytes = 256 * 1024;

// A first start's table: free slots at the end, names the file stores in one
// and two bytes.
void WriteFreshTable() {
  int16_t scores[10] = {600, 450, 300, 300, 120, 60, 30, 0, 0, 0};
  const std::string names[10] = {"Aoi", "山田太郎", "ｱｲｳ", "Yuki, Mio", "①～", "", "Ken"};
  std::ofstream(kHiScoreFileName, std::ios::binary | std::ios::trunc)
      << FormatScoreFile(scores, names);
}

std::string ReadFile(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), {});
}

int CountLinesStartingWith(const std::string& text, const std::string& prefix) {
  int count = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    if (text.compare(start, prefix.size(), prefix) == 0) ++count;
    start = end + 1;
  }
  return count;
}

}  // namespace

// The output stream outlives the host that writes to it, the host the game.
struct SoakRun::Session {
  std::ostringstream out;
  SimHost host;
  SimGame game;
  bool titleDone = false;

  explicit Session(std::uint64_t seed) : host(out, seed), game(host) {}

  std::string TakeOutput() {
    std::string printed = out.str();
    out.str("");
    return printed;
  }
};

SoakRun::SoakRun(std::int64_t ticks, std::uint64_t seed)
    : targetTicks_(ticks), seed_(seed), random_(seed) {
  char pattern[] = "/tmp/pellmora-soak-XXXXXX";
  const char* dir = mkdtemp(pattern);
  Expect(dir != nullptr, "cannot make a working directory");
  workDir_ = dir;
  std::filesystem::current_path(workDir_);
}

SoakRun::~SoakRun() {
  session_.reset();
  std::error_code ignored;
  std::filesystem::current_path("/", ignored);
  std::filesystem::remove_all(workDir_, ignored);
}

Form1& SoakRun::Window() {
  return session_->game.Window();
}

std::string SoakRun::Where() const {
  std::string where = "tick " + std::to_string(totals_.ticks) + ", game " +
                      std::to_string(totals_.games + 1) + ", start " +
                      std::to_string(totals_.starts) + ", seed " + std::to_string(seed_);
  if (session_) where += ", clock " + std::to_string(session_->host.Clock()) + " ms";
  return where;
}

void SoakRun::Tick() {
  session_->host.Wait(kTickMs);
  ++totals_.ticks;
  CheckTick(Window(), session_->titleDone);
}

void SoakRun::Start(Opening opening) {
  // The table the last program wrote, for a start that reads it back.
  std::vector<TableEntry> written;
  if (session_) written = ListedEntries(Window());
  session_.reset();
  answerQueued_ = false;  // a new program has no answers queued
  rankingOpenDuringGame_ = false;
  gamesInSession_ = 0;
  damagedFile_.clear();

  switch (opening) {
    case Opening::Reload:
      break;
    case Opening::FreshTable:
      WriteFreshTable();
      break;
    case Opening::DamagedFile:
      // The table with LF line ends, as an editor might save it.
      damagedFile_ = "900,800,0,0,0,0,0,0,0,0\nA\nB\n\n\n\n\n\n\n\n\n";
      std::ofstream(kHiScoreFileName, std::ios::binary | std::ios::trunc) << damagedFile_;
      std::filesystem::remove("HiScore.dat.bak");
      break;
  }

  session_ = std::make_unique<Session>(seed_ * 7919 + static_cast<std::uint64_t>(totals_.starts));
  ++totals_.starts;
  session_->game.Load();
  const std::string printed = session_->TakeOutput();
  Form1& form = Window();
  switch (opening) {
    case Opening::Reload:
      Expect(printed.empty(), "start-up on a good file said: " + printed);
      CheckReloadedTable(written, form);
      break;
    case Opening::FreshTable:
      Expect(printed.empty(), "start-up on a fresh file said: " + printed);
      Expect(form.hiScoreTable.hiScores[0] == 600 && form.hiScoreTable.hiNames[1] == "山田太郎" && form.hiScoreTable.hiNames[4] == "①～",
             "fresh table read wrongly");
      CheckFileMatchesTable(form, kHiScoreFileName);
      break;
    case Opening::DamagedFile:
      Expect(CountLinesStartingWith(printed, "msgbox ") == 1 &&
                 printed.find("の 1 行目が読み取れません") != std::string::npos,
             "start-up on a damaged file said: " + printed);
      for (int i = 0; i < kHiScoreSlots; ++i) {
        Expect(form.hiScoreTable.hiScores[i] == 0 && form.hiScoreTable.hiNames[i].empty(), "damaged file left entries");
      }
      Expect(ReadFile(kHiScoreFileName) == damagedFile_, "start-up changed the damaged file");
      break;
  }

  for (int i = 0; !form.Command1.Visible; ++i) {
    Expect(i < 200, "the title never settles");
    Tick();
  }
  session_->titleDone = true;
}

void SoakRun::OpenRanking() {
  Expect(session_->game.Click(SimButton::Command2), "ranking button not clickable");
  const Form2Controls* form2 = session_->host.Form2();
  Expect(form2 != nullptr, "ranking window not shown");
  CheckRankingWindow(*form2, Window());
  ++totals_.rankingViews;
}

void SoakRun::CloseRanking() {
  Expect(session_->game.Click(SimButton::Form2Command1), "ranking close button not clickable");
  Expect(session_->host.Form2() == nullptr, "ranking window still loaded");
}

void SoakRun::PauseAndResume() {
  Form1& form = Window();
  SimGame& game = session_->game;
  const float ballLeft = form.Image5.Left;
  const float ballTop = form.Image5.Top;
  const auto ballStill = [&] {
    Expect(form.Image5.Left == ballLeft && form.Image5.Top == ballTop, "ball moved in a pause");
  };

  game.KeyDown(vbKeyEscape);
  Expect(form.pausing == VbTrue && !form.Timer2.Enabled() && form.Label2.Visible,
         "Esc did not pause");
  // While the banner is still low a second Esc is ignored.
  const int early = static_cast<int>(random_() % 12);
  for (int i = 0; i < early; ++i) {
    Tick();
    ballStill();
  }
  game.KeyDown(vbKeyEscape);
  Expect(form.pausing == VbTrue, "Esc with the banner low resumed");
  const int rest = 20 + static_cast<int>(random_() % 150);
  for (int i = 0; i < rest; ++i) {
    Tick();
    ballStill();
  }
  Expect(form.Label2.Top < 300, "banner did not rise");
  game.KeyDown(vbKeyEscape);
  Expect(form.pausing == VbFalse, "second Esc did not resume");
  // The banner slides back down, 15 pixels every 15 ms, and play resumes.
  for (int i = 0; !form.Timer2.Enabled(); ++i) {
    Expect(i < 40, "play did not resume after the banner came down");
    Tick();
    ballStill();
  }
  Expect(!form.Label2.Visible && form.Timer4.Enabled(), "play resumed half-way");
  ++totals_.pauses;
}

void SoakRun::PlayOneGame() {
  Form1& form = Window();
  SimHost& host = session_->host;
  Expect(form.Command1.Visible && form.Command2.Visible && form.Command3.Visible, "menu not back");

  if (!rankingOpenDuringGame_ && random_() % 4 == 0) {
    OpenRanking();
    // Now and then the window stays open through a game.
    rankingOpenDuringGame_ = random_() % 3 == 0;
    if (!rankingOpenDuringGame_) {
      const int open = static_cast<int>(random_() % 50);
      for (int i = 0; i < open; ++i) Tick();
      CloseRanking();
    }
  }
  if (!answerQueued_) {
    const auto& answers = PlayerAnswers();
    queuedAnswer_ = answers[random_() % answers.size()];
    if (queuedAnswer_.cancel) {
      host.QueueCancel();
    } else {
      host.QueueAnswer(queuedAnswer_.text);
    }
    answerQueued_ = true;
  }

  const std::vector<TableEntry> before = ListedEntries(form);
  const int16_t tenth = form.hiScoreTable.hiScores[9];
  Expect(session_->game.Click(SimButton::Command1), "start button not clickable");
  Expect(form.playing == VbTrue && form.score == 0 && form.Timer2.Enabled(), "game did not start");

  // Mostly short games, some long ones; then the player lets go and holds
  // the paddles in the top-left corner until the ball is lost.
  const std::uint64_t kind = random_() % 10;
  const std::int64_t guided = static_cast<std::int64_t>(
      kind < 5 ? random_() % 300 : (kind < 9 ? random_() % 3000 : random_() % 30000));
  host.SetAutopilot(true);
  std::int64_t played = 0;
  int16_t lastScore = 0;
  while (form.playing == VbTrue) {
    if (totals_.ticks >= targetTicks_) return;  // the run ends mid-game
    if (played == guided) {
      host.SetAutopilot(false);
      host.SetKeyHeld(vbKeyUp, true);
      host.SetKeyHeld(vbKeyLeft, true);
    }
    if (random_() % 1500 == 0) PauseAndResume();
    Tick();
    ++played;
    Expect(form.score >= lastScore, "score went down in a game");
    lastScore = form.score;
  }
  host.SetAutopilot(false);
  host.SetKeyHeld(vbKeyUp, false);
  host.SetKeyHeld(vbKeyLeft, false);

  ++totals_.games;
  ++gamesInSession_;
  CheckGameOver(before, tenth);
  if (rankingOpenDuringGame_) {
    // A game over does not refresh an open ranking window.
    const Form2Controls* form2 = host.Form2();
    Expect(form2 != nullptr, "ranking window closed by the game");
    for (int i = 0; i < kHiScoreListed; ++i) {
      Expect(form2->Text1[i].Text == before[static_cast<std::size_t>(i)].name &&
                 form2->Text2[i].Text == std::to_string(before[static_cast<std::size_t>(i)].score),
             "open ranking window changed by a game over");
    }
    CloseRanking();
    rankingOpenDuringGame_ = false;
  }
}

void SoakRun::CheckGameOver(const std::vector<TableEntry>& before, int tenth) {
  Form1& form = Window();
  const std::string printed = session_->TakeOutput();
  // The box tells the score the game ended with. The rest of that tick still
  // runs, so a ball lost in a corner can take one more hit off the other
  // paddle pair: that hit shows in the caption but not in the ranking.
  const std::string scoreBox = "msgbox title=\"ゲームオーバー\" text=\"あなたの得点は";
  const std::size_t at = printed.rfind(scoreBox);
  Expect(CountLinesStartingWith(printed, "msgbox ") == 1 && at != std::string::npos,
         "game over said: " + printed);
  const int score = std::atoi(printed.c_str() + at + scoreBox.size());
  Expect(printed.substr(at) == scoreBox + std::to_string(score) + "点でした。\"\n",
         "game over said: " + printed);
  const int lastHit =
      std::abs(static_cast<int>(form.ballDX)) + std::abs(static_cast<int>(form.ballDY));
  Expect(
      form.score == score || form.score == std::min(score + lastHit, 32767),
      "game over told " + std::to_string(score) + " for a score of " + std::to_string(form.score));
  const bool expectEntry = score > tenth;
  Expect(CountLinesStartingWith(printed, "inputbox ") == (expectEntry ? 1 : 0),
         "name box " + std::string(expectEntry ? "missing" : "unasked for") + ": " + printed);
  CheckTableShape(form);

  std::vector<int> expectedScores;
  for (const TableEntry& entry : before) expectedScores.push_back(entry.score);
  if (expectEntry) {
    answerQueued_ = false;
    ++totals_.nameEntries;
    const std::string name = StoredName(queuedAnswer_);
    bool found = false;
    for (int i = 0; i < kHiScoreListed; ++i) {
      found = found || (form.hiScoreTable.hiScores[i] == score && form.hiScoreTable.hiNames[i] == name);
    }
    Expect(found, "new entry " + std::to_string(score) + " \"" + name + "\" not in the table");
    expectedScores.push_back(score);
    std::sort(expectedScores.begin(), expectedScores.end(), std::greater<>());
    expectedScores.resize(kHiScoreListed);
    for (int i = 0; i < kHiScoreListed; ++i) {
      Expect(form.hiScoreTable.hiScores[i] == expectedScores[static_cast<std::size_t>(i)],
             "table lost or invented a score at slot " + std::to_string(i));
    }
  } else {
    for (int i = 0; i < kHiScoreListed; ++i) {
      Expect(form.hiScoreTable.hiScores[i] == before[static_cast<std::size_t>(i)].score &&
                 form.hiScoreTable.hiNames[i] == before[static_cast<std::size_t>(i)].name,
             "table changed without a new entry at slot " + std::to_string(i));
    }
  }
  CheckFileMatchesTable(form, kHiScoreFileName);
  for (const auto& entry : std::filesystem::directory_iterator(".")) {
    Expect(!entry.path().filename().string().starts_with("HiScore.dat.tmp"),
           "a save left its temporary file " + entry.path().filename().string());
  }
  if (!damagedFile_.empty()) {
    Expect(ReadFile("HiScore.dat.bak") == damagedFile_, "damaged file not kept aside");
    damagedFile_.clear();
  }
}

void SoakRun::SampleMemory() {
  ReleaseFreedMemory();
  const long resident = ResidentKiB();
  const auto heap = static_cast<long long>(LiveHeapBytes());
  Expect(resident > 0, "cannot read /proc/self/statm");
  if (!memoryBaselineTaken_) {
    memoryBaselineTaken_ = true;
    baselineResidentKiB_ = resident;
    baselineHeapBytes_ = heap;
    return;
  }
  totals_.residentGrowthKiB = std::max(totals_.residentGrowthKiB, resident - baselineResidentKiB_);
  totals_.heapGrowthBytes = std::max(totals_.heapGrowthBytes, heap - baselineHeapBytes_);
  Expect(resident - baselineResidentKiB_ <= kResidentBoundKiB,
         "resident memory grew by " + std::to_string(resident - baselineResidentKiB_) + " KiB");
  Expect(heap - baselineHeapBytes_ <= kHeapBoundBytes,
         "heap in use grew by " + std::to_string(heap - baselineHeapBytes_) + " bytes");
}

SoakTotals SoakRun::Run() {
  constexpr Opening kCycle[] = {Opening::Reload, Opening::FreshTable, Opening::Reload,
                                Opening::DamagedFile};
  Start(Opening::FreshTable);
  while (totals_.ticks < targetTicks_) {
    if (gamesInSession_ == kGamesPerStart) {
      Start(kCycle[static_cast<std::size_t>(totals_.starts) % std::size(kCycle)]);
    }
    PlayOneGame();
    // Sampled with the ranking window closed, between two games.
    if (totals_.games >= kWarmUpGames && !rankingOpenDuringGame_) SampleMemory();
  }
  return totals_;
}

}  // namespace pellmora
