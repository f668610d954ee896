#include "tools/soak/PlayerAnswers.h"

#include "scores/ShiftJis.h"

namespace pellmora {

const std::vector<PlayerAnswer>& PlayerAnswers() {
  static const std::vector<PlayerAnswer> answers = {
      {false, "Aoi"},
      {false, "山田太郎"},
      {false, "ｱｲｳｴｵ"},      // half-width kana: one byte each in the file
      {false, "Yuki, Mio"},  // a comma, as in the score line
      {false, "\"quoted\" 'name'"},
      {false, "tab\there"},  // control characters become spaces
      {false, "two\r\nlines"},
      {false, "\x01\x1f\x7f"},
      {false, "🎮 gamer 😀"},  // no code in the file's code page
      {false, "한국어"},
      {false, ""},      // OK on an empty box
      {true, ""},       // Cancel
      {false, "〜−‖"},  // typed where the code page has twins
      {false, "①②Ⅻ㈱"},
      {false, "  spaced  "},
      {false, "C:\\path~"},
      {false, "-5"},
      {false, "0,0,0"},
      {false, std::string(300, 'W')},
      {false, "名前が長いプレイヤー名前が長いプレイヤー名前が長いプレイヤー"},
      {false, "stray \xff\xfe bytes"},
  };
  return answers;
}

std::string StoredName(const PlayerAnswer& answer) {
  if (answer.cancel || answer.text.empty()) return "名無し";
  // As the file gives it back: the table shows what a restart will show.
  const std::string cleaned = CleanTypedName(answer.text);
  return ShiftJisToUtf8(Utf8ToShiftJis(cleaned)).value_or("<not code page 932>");
}

}  // namespace pellmora
