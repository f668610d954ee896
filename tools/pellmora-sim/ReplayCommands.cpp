#include "tools/pellmora-sim/ReplayCommands.h"

#include <fstream>
#include <iterator>

#include "headless/SimFormat.h"
#include "play/ReplayCheck.h"

namespace pellmora {

namespace {

// At most one byte past the limit is read, so that an endless file is told
// apart from a large one without reading it all.
bool ReadBounded(const std::string& path, std::string& bytes, std::string& why) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    why = "cannot be opened";
    return false;
  }
  bytes.clear();
  char chunk[65536];
  while (in && bytes.size() <= kMaxReplayBytes) {
    in.read(chunk, sizeof chunk);
    bytes.append(chunk, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) {
    why = "cannot be read";
    return false;
  }
  return true;
}

}  // namespace

bool WriteLastGame(const PlaySession& session, const std::string& path, std::string& why) {
  if (!session.Recordings().HasLastGame()) {
    why = "the script played no game to its game over, so there is nothing to record";
    return false;
  }
  const std::string bytes = WriteReplay(session.Recordings().LastGame("headless"));
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    why = "cannot write the replay " + Quoted(path);
    return false;
  }
  return true;
}

int VerifyReplays(const std::vector<std::string>& paths, std::ostream& out, std::ostream& err) {
  int status = 0;
  std::string bytes;
  std::string why;
  for (const std::string& path : paths) {
    if (!ReadBounded(path, bytes, why)) {
      err << "pellmora-sim: " << Quoted(path) << " " << why << '\n';
      status = 2;
      continue;
    }
    const ReplayRead read = ReadReplay(bytes);
    if (!read.ok) {
      err << "pellmora-sim: " << Quoted(path) << ": " << read.error << '\n';
      status = 2;
      continue;
    }
    const ReplayVerdict verdict = CheckReplay(read.replay);
    switch (verdict.status) {
      case ReplayVerdict::Ok:
        out << "ok " << verdict.score << '\n';
        break;
      case ReplayVerdict::Differs:
        out << "differs at second " << verdict.second << '\n';
        if (status == 0) status = 1;
        break;
      case ReplayVerdict::Damaged:
        err << "pellmora-sim: " << Quoted(path) << ": " << verdict.problem << '\n';
        status = 2;
        break;
    }
  }
  return status;
}

}  // namespace pellmora
