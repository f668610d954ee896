// Every name a script may print or set, mapped once to the field it stands
// for. Names are for the script only; the game never looks anything up.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "game/Form1.h"

namespace pellmora {

enum class NameKind {
  Clock,         // the virtual time, read only
  Text,          // Form1.Caption, hiNames(i)
  TimerEnabled,  // TimerN.Enabled
  Place,         // .Left .Top .Width .Height
  Visible,       // .Visible
  Number,        // a GameState number
  Flag,          // a GameState flag: True = -1, False = 0
  Form2Loaded,   // read only
  Form2Box,      // Form2.Text1(i).Text, Form2.Text2(i).Text, read only
};

struct NameEntry {
  NameKind kind = NameKind::Clock;
  float* place = nullptr;
  bool* visible = nullptr;
  int16_t* number = nullptr;
  std::string* text = nullptr;
  Timer* timer = nullptr;
  int boxColumn = 0;  // 1 for Text1 (names), 2 for Text2 (scores)
  int boxIndex = 0;
};

class NameTable {
 public:
  explicit NameTable(Form1& window);
  // Nothing for a name the script may not use.
  const NameEntry* Find(std::string_view name) const;

 private:
  // A name of Form1 is also accepted with its window prefix "Form1.".
  void AddForm1(const std::string& name, const NameEntry& entry);
  void AddObject(const std::string& name, ScreenObject& object);

  std::map<std::string, NameEntry, std::less<>> entries_;
};

}  // namespace pellmora
