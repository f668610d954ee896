#include "tools/pellmora-sim/NameTable.h"

namespace pellmora {

namespace {

std::string Indexed(const char* name, int index) {
  return std::string(name) + "(" + std::to_string(index) + ")";
}

NameEntry NumberEntry(int16_t& field) {
  NameEntry entry;
  entry.kind = NameKind::Number;
  entry.number = &field;
  return entry;
}

NameEntry FlagEntry(int16_t& field) {
  NameEntry entry = NumberEntry(field);
  entry.kind = NameKind::Flag;
  return entry;
}

NameEntry TextEntry(std::string& field) {
  NameEntry entry;
  entry.kind = NameKind::Text;
  entry.text = &field;
  return entry;
}

}  // namespace

NameTable::NameTable(Form1& window) {
  NameEntry clock;
  clock.kind = NameKind::Clock;
  entries_.emplace("clock", clock);

  // "Caption" alone is Form1's too: a name without a window prefix means Form1.
  AddForm1("Caption", TextEntry(window.Caption));

  Timer* timers[] = {&window.Timer1, &window.Timer2, &window.Timer3, &window.Timer4};
  for (int i = 0; i < 4; ++i) {
    NameEntry entry;
    entry.kind = NameKind::TimerEnabled;
    entry.timer = timers[i];
    AddForm1("Timer" + std::to_string(i + 1) + ".Enabled", entry);
  }

  AddObject("Label1", window.Label1);
  AddObject("Label2", window.Label2);
  AddObject("Command1", window.Command1);
  AddObject("Command2", window.Command2);
  AddObject("Command3", window.Command3);
  AddObject("Image1", window.Image1);
  AddObject("Image2", window.Image2);
  AddObject("Image3", window.Image3);
  AddObject("Image4", window.Image4);
  AddObject("Image5", window.Image5);
  for (int k = 0; k < 6; ++k) AddObject(Indexed("Image6", k), window.Image6[k]);

  AddForm1("titlePhase", NumberEntry(window.titlePhase));
  AddForm1("pausing", FlagEntry(window.pausing));
  AddForm1("playing", FlagEntry(window.playing));
  AddForm1("ballDX", NumberEntry(window.ballDX));
  AddForm1("ballDY", NumberEntry(window.ballDY));
  AddForm1("baseSpeedX", NumberEntry(window.baseSpeedX));
  AddForm1("baseSpeedY", NumberEntry(window.baseSpeedY));
  AddForm1("ballCenterX", NumberEntry(window.ballCenterX));
  AddForm1("ballCenterY", NumberEntry(window.ballCenterY));
  AddForm1("score", NumberEntry(window.score));
  for (int k = 0; k < 6; ++k) AddForm1(Indexed("itemActive", k), FlagEntry(window.itemActive[k]));
  for (int i = 0; i < kHiScoreSlots; ++i) {
    AddForm1(Indexed("hiScores", i), NumberEntry(window.hiScoreTable.hiScores[i]));
    AddForm1(Indexed("hiNames", i), TextEntry(window.hiScoreTable.hiNames[i]));
  }

  NameEntry loaded;
  loaded.kind = NameKind::Form2Loaded;
  entries_.emplace("Form2.Loaded", loaded);
  for (int column = 1; column <= 2; ++column) {
    for (int i = 0; i < 10; ++i) {
      NameEntry box;
      box.kind = NameKind::Form2Box;
      box.boxColumn = column;
      box.boxIndex = i;
      entries_.emplace("Form2." + Indexed(column == 1 ? "Text1" : "Text2", i) + ".Text", box);
    }
  }
}

const NameEntry* NameTable::Find(std::string_view name) const {
  const auto found = entries_.find(name);
  return found == entries_.end() ? nullptr : &found->second;
}

void NameTable::AddForm1(const std::string& name, const NameEntry& entry) {
  entries_.emplace(name, entry);
  entries_.emplace("Form1." + name, entry);
}

void NameTable::AddObject(const std::string& name, ScreenObject& object) {
  NameEntry place;
  place.kind = NameKind::Place;
  place.place = &object.Left;
  AddForm1(name + ".Left", place);
  place.place = &object.Top;
  AddForm1(name + ".Top", place);
  place.place = &object.Width;
  AddForm1(name + ".Width", place);
  place.place = &object.Height;
  AddForm1(name + ".Height", place);
  NameEntry visible;
  visible.kind = NameKind::Visible;
  visible.visible = &object.Visible;
  AddForm1(name + ".Visible", visible);
}

}  // namespace pellmora
