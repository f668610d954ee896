#include <charconv>
#include <cstring>

#include "play/Deflate.h"
#include "play/Replay.h"

namespace pellmora {

namespace {

// A line "key value" of the header; the text is written as it is, with no
// line end inside (names are cleaned of control characters before).
void HeaderLine(std::string& out, std::string_view key, std::string_view value) {
  out.append(key);
  out.push_back(' ');
  out.append(value);
  out.push_back('\n');
}

bool TakeLine(std::string_view& rest, std::string_view& line) {
  const std::size_t end = rest.find('\n');
  if (end == std::string_view::npos) return false;
  line = rest.substr(0, end);
  rest.remove_prefix(end + 1);
  return true;
}

// Numbers as the writer writes them: no sign but a minus, no leading zero,
// so that a file reads back to the same bytes.
template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
  const std::string_view digits = !text.empty() && text[0] == '-' ? text.substr(1) : text;
  if (digits.empty() || (digits[0] == '0' && text.size() > 1)) return false;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size();
}

bool Value(std::string_view line, std::string_view key, std::string_view& value) {
  if (line.size() < key.size() + 1 || line.substr(0, key.size()) != key ||
      line[key.size()] != ' ') {
    return false;
  }
  value = line.substr(key.size() + 1);
  return true;
}

ReplayRead Refused(std::string error) {
  ReplayRead read;
  read.error = std::move(error);
  return read;
}

}  // namespace

std::string WriteReplay(const Replay& replay) {
  std::string out;
  out.reserve(512 + replay.events.size());
  out.append(kReplayMagic);
  out.push_back(' ');
  out.append(std::to_string(replay.format));
  out.push_back('\n');
  HeaderLine(out, "rules", std::to_string(replay.rules));
  HeaderLine(out, "host", replay.host);
  HeaderLine(out, "date", replay.date);
  HeaderLine(out, "name", replay.name);
  HeaderLine(out, "score", std::to_string(replay.score));
  HeaderLine(out, "luck",
             (replay.scripted ? "scripted " : "") + std::to_string(replay.luck.seed) + " " +
                 std::to_string(replay.luck.draws));
  if (replay.format < 2) {
    HeaderLine(out, "events", std::to_string(replay.events.size()));
    out.push_back('\n');
    out.append(reinterpret_cast<const char*>(replay.start.bytes), GameSnapshot::kBytes);
    out.append(reinterpret_cast<const char*>(replay.events.data()), replay.events.size());
    return out;
  }
  const std::string packed = Deflate(replay.events);
  HeaderLine(
      out, "events",
      "deflate " + std::to_string(replay.events.size()) + " " + std::to_string(packed.size()));
  out.push_back('\n');
  out.append(reinterpret_cast<const char*>(replay.start.bytes), GameSnapshot::kBytes);
  out.append(packed);
  return out;
}

ReplayRead ReadReplay(std::string_view bytes) {
  if (bytes.size() > kMaxReplayBytes) return Refused("the file is too large to be a replay");
  std::string_view rest = bytes;
  std::string_view line;
  if (!TakeLine(rest, line) || line.substr(0, kReplayMagic.size()) != kReplayMagic ||
      line.size() < kReplayMagic.size() + 2 || line[kReplayMagic.size()] != ' ') {
    return Refused("not a Pellmora replay");
  }
  ReplayRead read;
  Replay& replay = read.replay;
  if (!ParseNumber(line.substr(kReplayMagic.size() + 1), replay.format) || replay.format < 1) {
    return Refused("a Pellmora replay with an unreadable format number");
  }
  if (replay.format > kReplayFormat) {
    return Refused("a replay of format " + std::to_string(replay.format) +
                   ", newer than this game reads (" + std::to_string(kReplayFormat) + ")");
  }

  std::string_view value;
  std::size_t eventBytes = 0;
  const auto header = [&](std::string_view key) {
    return TakeLine(rest, line) && Value(line, key, value);
  };
  if (!header("rules") || !ParseNumber(value, replay.rules))
    return Refused("damaged header: rules");
  if (!header("host")) return Refused("damaged header: host");
  replay.host = value;
  if (!header("date")) return Refused("damaged header: date");
  replay.date = value;
  if (!header("name")) return Refused("damaged header: name");
  replay.name = value;
  if (!header("score") || !ParseNumber(value, replay.score) || replay.score < -32768 ||
      replay.score > 32767) {
    return Refused("damaged header: score");
  }
  if (!header("luck")) return Refused("damaged header: luck");
  if (value.substr(0, 9) == "scripted ") {
    replay.scripted = true;
    value.remove_prefix(9);
  }
  const std::size_t space = value.find(' ');
  if (space == std::string_view::npos || !ParseNumber(value.substr(0, space), replay.luck.seed) ||
      !ParseNumber(value.substr(space + 1), replay.luck.draws)) {
    return Refused("damaged header: luck");
  }
  // A generator wound on further than any game draws would take forever.
  if (replay.luck.draws > (std::uint64_t{1} << 24)) return Refused("damaged header: luck");
  // Format 2 on: "deflate RAW STORED", the events' size unpacked and as
  // stored.
  std::size_t rawBytes = 0;
  if (!header("events")) return Refused("damaged header: events");
  if (replay.format >= 2) {
    const std::size_t space2 = value.substr(0, 8) == "deflate " ? value.find(' ', 8) : 0;
    if (space2 == 0 || space2 == std::string_view::npos ||
        !ParseNumber(value.substr(8, space2 - 8), rawBytes) || rawBytes > kMaxReplayBytes ||
        !ParseNumber(value.substr(space2 + 1), eventBytes)) {
      return Refused("damaged header: events");
    }
  } else if (!ParseNumber(value, eventBytes)) {
    return Refused("damaged header: events");
  }
  if (!TakeLine(rest, line) || !line.empty()) return Refused("damaged header: no end");
  if (eventBytes > kMaxReplayBytes) return Refused("damaged header: events");
  if (rest.size() != GameSnapshot::kBytes + eventBytes) {
    return Refused(rest.size() < GameSnapshot::kBytes + eventBytes
                       ? "the replay is cut short"
                       : "the replay runs on past its end");
  }
  std::memcpy(replay.start.bytes, rest.data(), GameSnapshot::kBytes);
  rest.remove_prefix(GameSnapshot::kBytes);
  if (replay.format < 2) {
    replay.events.assign(rest.begin(), rest.end());
  } else if (!Inflate(rest, rawBytes, replay.events)) {
    return Refused("the replay's events are damaged");
  }
  read.ok = true;
  return read;
}

}  // namespace pellmora
