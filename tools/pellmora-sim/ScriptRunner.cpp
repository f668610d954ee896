#include "tools/pellmora-sim/ScriptRunner.h"

#include <ostream>
#include <string>

#include "headless/SimFormat.h"
#include "tools/pellmora-sim/ScriptError.h"
#include "tools/pellmora-sim/ScriptText.h"
#include "tools/pellmora-sim/ScriptValues.h"

namespace pellmora {

namespace {

constexpr std::string_view kBlanks = " \t";

// The words after the command, which are separated by single spaces: an
// empty word means a doubled, leading or trailing space.
std::vector<std::string_view> SplitWords(std::string_view rest, bool present) {
  std::vector<std::string_view> words;
  if (!present) return words;
  while (true) {
    const auto space = rest.find(' ');
    const std::string_view word = rest.substr(0, space);
    if (word.empty()) throw ScriptError("words must be separated by single spaces");
    words.push_back(word);
    if (space == std::string_view::npos) return words;
    rest.remove_prefix(space + 1);
  }
}

void RequireCount(const std::vector<std::string_view>& args, std::size_t least, std::size_t most,
                  const char* usage) {
  if (args.size() < least) throw ScriptError(std::string("missing argument (") + usage + ")");
  if (args.size() > most) throw ScriptError(std::string("too many arguments (") + usage + ")");
}

constexpr std::size_t kMany = static_cast<std::size_t>(-1);

}  // namespace

ScriptRunner::ScriptRunner(SimHost& host, SimGame& game, std::ostream& out)
    : host_(host), game_(game), out_(out), names_(game.Window()) {}

void ScriptRunner::Run(std::string_view line) {
  const auto first = line.find_first_not_of(kBlanks);
  if (first == std::string_view::npos || line[first] == '#') return;
  if (first != 0) throw ScriptError("a command line must not start with a blank");

  const auto space = line.find(' ');
  const std::string_view command = line.substr(0, space);
  const bool hasRest = space != std::string_view::npos;
  const std::string_view rest = hasRest ? line.substr(space + 1) : std::string_view{};

  // These two take the rest of the line as it is, spaces included.
  if (command == "answer") {
    host_.QueueAnswer(std::string(rest));
    return;
  }
  if (command == "set") {
    if (!hasRest) throw ScriptError("missing argument (set NAME VALUE)");
    Set(rest);
    return;
  }

  const std::vector<std::string_view> args = SplitWords(rest, hasRest);
  if (command == "wait") {
    RequireCount(args, 1, 1, "wait MS");
    Wait(args);
  } else if (command == "click") {
    RequireCount(args, 1, 1, "click NAME");
    Click(args[0]);
  } else if (command == "key") {
    RequireCount(args, 1, 1, "key KEY");
    game_.KeyDown(ParseKey(args[0]));
  } else if (command == "press") {
    RequireCount(args, 1, 1, "press KEY");
    host_.SetKeyHeld(ParseKey(args[0]), true);
  } else if (command == "release") {
    RequireCount(args, 1, 1, "release KEY");
    host_.SetKeyHeld(ParseKey(args[0]), false);
  } else if (command == "rnd") {
    RequireCount(args, 1, kMany, "rnd V [V ...]");
    Rnd(args);
  } else if (command == "cancel") {
    RequireCount(args, 0, 0, "cancel");
    host_.QueueCancel();
  } else if (command == "print") {
    RequireCount(args, 1, kMany, "print NAME [NAME ...]");
    Print(args);
  } else if (command == "autopilot") {
    RequireCount(args, 1, 1, "autopilot on|off");
    Autopilot(args[0]);
  } else {
    throw ScriptError("unknown command " + Quoted(command));
  }
}

void ScriptRunner::Wait(const std::vector<std::string_view>& args) {
  const std::int64_t ms = ParseMilliseconds(args[0]);
  if (ms > SimHost::kClockLimit - host_.Clock()) {
    throw ScriptError("wait " + std::string(args[0]) + " takes the clock out of range");
  }
  host_.Wait(ms);
}

void ScriptRunner::Click(std::string_view name) {
  SimButton button;
  if (name == "Command1" || name == "Form1.Command1") {
    button = SimButton::Command1;
  } else if (name == "Command2" || name == "Form1.Command2") {
    button = SimButton::Command2;
  } else if (name == "Command3" || name == "Form1.Command3") {
    button = SimButton::Command3;
  } else if (name == "Form2.Command1") {
    button = SimButton::Form2Command1;
  } else {
    throw ScriptError("unknown button " + Quoted(name));
  }
  if (!game_.Click(button)) out_ << "ignored: click " << name << '\n';
}

void ScriptRunner::Rnd(const std::vector<std::string_view>& args) {
  // All values are checked before any is queued: a faulty line changes nothing.
  std::vector<double> values;
  values.reserve(args.size());
  for (const auto word : args) values.push_back(ParseRndValue(word));
  for (const double value : values) host_.QueueRnd(value);
}

void ScriptRunner::Set(std::string_view nameAndValue) {
  const auto space = nameAndValue.find(' ');
  const std::string_view name = nameAndValue.substr(0, space);
  if (name.empty()) throw ScriptError("words must be separated by single spaces");
  if (space == std::string_view::npos || space + 1 == nameAndValue.size()) {
    throw ScriptError("missing argument (set NAME VALUE)");
  }
  const std::string_view value = nameAndValue.substr(space + 1);
  const NameEntry& entry = Lookup(name);
  switch (entry.kind) {
    case NameKind::Clock:
    case NameKind::Form2Loaded:
    case NameKind::Form2Box:
      throw ScriptError(Quoted(name) + " cannot be set");
    case NameKind::Text:
      *entry.text = ParseText(value, name);
      break;
    case NameKind::TimerEnabled:
      // Through the timer, so that the clock starts or stops it as for a handler.
      entry.timer->SetEnabled(ParseBool(value, name));
      break;
    case NameKind::Place:
      *entry.place = ParseFloat(value, name);
      break;
    case NameKind::Visible:
      *entry.visible = ParseBool(value, name);
      break;
    case NameKind::Number:
      *entry.number = ParseInt16(value, name);
      break;
    case NameKind::Flag:
      if (value == "True") {
        *entry.number = -1;
      } else if (value == "False") {
        *entry.number = 0;
      } else {
        *entry.number = ParseInt16(value, name);
      }
      break;
  }
}

void ScriptRunner::Print(const std::vector<std::string_view>& names) {
  // Every name is checked before the first line is printed.
  std::vector<const NameEntry*> entries;
  entries.reserve(names.size());
  for (const auto name : names) {
    const NameEntry& entry = Lookup(name);
    if (entry.kind == NameKind::Form2Box && host_.Form2() == nullptr) {
      throw ScriptError("Form2 is not loaded, so " + Quoted(name) + " cannot be printed");
    }
    entries.push_back(&entry);
  }
  std::string lines;
  for (std::size_t i = 0; i < names.size(); ++i) {
    lines += names[i];
    lines += '=';
    lines += Value(*entries[i]);
    lines += '\n';
  }
  out_ << lines;
}

void ScriptRunner::Autopilot(std::string_view mode) {
  if (mode == "on") {
    host_.SetAutopilot(true);
  } else if (mode == "off") {
    host_.SetAutopilot(false);
  } else {
    throw ScriptError("autopilot takes on or off, got " + Quoted(mode));
  }
}

const NameEntry& ScriptRunner::Lookup(std::string_view name) const {
  const NameEntry* entry = names_.Find(name);
  if (entry == nullptr) throw ScriptError("unknown name " + Quoted(name));
  return *entry;
}

std::string ScriptRunner::Value(const NameEntry& entry) {
  switch (entry.kind) {
    case NameKind::Clock:
      return std::to_string(host_.Clock());
    case NameKind::Text:
      return Quoted(*entry.text);
    case NameKind::TimerEnabled:
      return FormatBool(entry.timer->Enabled());
    case NameKind::Place:
      return FormatFloat(*entry.place);
    case NameKind::Visible:
      return FormatBool(*entry.visible);
    case NameKind::Number:
      return std::to_string(*entry.number);
    case NameKind::Flag:
      // Flags hold -1 and 0; a set may have put another number there.
      if (*entry.number == -1) return "True";
      if (*entry.number == 0) return "False";
      return std::to_string(*entry.number);
    case NameKind::Form2Loaded:
      return FormatBool(host_.Form2() != nullptr);
    case NameKind::Form2Box: {
      const Form2Controls& form2 = *host_.Form2();
      const TextBox& box =
          entry.boxColumn == 1 ? form2.Text1[entry.boxIndex] : form2.Text2[entry.boxIndex];
      return Quoted(box.Text);
    }
  }
  return {};
}

}  // namespace pellmora
