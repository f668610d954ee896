#include "tools/soak/TableChecks.h"

#include <fstream>
#include <iterator>

#include "scores/ScoreFile.h"
#include "scores/ShiftJis.h"
#include "tools/soak/SoakFailure.h"

namespace pellmora {

std::vector<TableEntry> ListedEntries(const GameState& state) {
  std::vector<TableEntry> entries;
  for (int i = 0; i < kHiScoreListed; ++i) entries.push_back({state.hiScoreTable.hiScores[i], state.hiScoreTable.hiNames[i]});
  return entries;
}

void CheckTableShape(const GameState& state) {
  for (int i = 1; i < kHiScoreListed; ++i) {
    Expect(state.hiScoreTable.hiScores[i] <= state.hiScoreTable.hiScores[i - 1],
           "hiScores not best first at slot " + std::to_string(i));
  }
  Expect(state.hiScoreTable.hiScores[10] == 0,
         "spare slot hiScores(10) holds " + std::to_string(state.hiScoreTable.hiScores[10]));
}

std::string NameAfterSaving(const std::string& name) {
  return ShiftJisToUtf8(Utf8ToShiftJis(name)).value_or("<not code page 932>");
}

void CheckFileMatchesTable(const GameState& state, const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  Expect(in.good(), fileName + " is missing");
  const std::string bytes((std::istreambuf_iterator<char>(in)), {});
  Expect(bytes == FormatScoreFile(state.hiScoreTable.hiScores, state.hiScoreTable.hiNames),
         fileName + " differs from the table in memory");
  const ParsedScoreFile parsed = ParseScoreFile(bytes);
  Expect(parsed.ok, fileName + " does not parse, line " + std::to_string(parsed.failedLine));
  for (int i = 0; i < kHiScoreListed; ++i) {
    Expect(parsed.scores[i] == state.hiScoreTable.hiScores[i],
           fileName + " score " + std::to_string(i) + " differs");
    Expect(parsed.names[i] == NameAfterSaving(state.hiScoreTable.hiNames[i]),
           fileName + " name " + std::to_string(i) + " reads back as \"" + parsed.names[i] + "\"");
  }
}

void CheckReloadedTable(const std::vector<TableEntry>& written, const GameState& reloaded) {
  for (int i = 0; i < kHiScoreListed; ++i) {
    const auto slot = std::to_string(i);
    Expect(reloaded.hiScoreTable.hiScores[i] == written[static_cast<std::size_t>(i)].score,
           "reloaded score " + slot + " differs");
    Expect(reloaded.hiScoreTable.hiNames[i] == NameAfterSaving(written[static_cast<std::size_t>(i)].name),
           "reloaded name " + slot + " differs: \"" + reloaded.hiScoreTable.hiNames[i] + "\"");
  }
  CheckTableShape(reloaded);
}

void CheckRankingWindow(const Form2Controls& form2, const GameState& state) {
  for (int i = 0; i < kHiScoreListed; ++i) {
    Expect(form2.Text1[i].Text == state.hiScoreTable.hiNames[i],
           "ranking window name " + std::to_string(i) + " differs");
    Expect(form2.Text2[i].Text == std::to_string(state.hiScoreTable.hiScores[i]),
           "ranking window score " + std::to_string(i) + " differs");
  }
}

}  // namespace pellmora
