// Where the world ranking keeps its games: an embedded SQLite file or a
// PostgreSQL database that several servers share. Every call is complete
// when it returns: a game stored is on disk.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace pellmora::ranking {

// A game that re-ran to its score, ready to keep.
struct AcceptedGame {
  std::string identity;  // the game itself (start, luck, events), hashed
  std::string name;      // cleaned as the game cleans names
  int score = 0;
  std::string played;    // the replay's own date, as it says
  std::string accepted;  // UTC, when this server verified it
  std::string host;      // which host recorded it
  std::string replay;    // the file, re-written by the server
};

struct RankedGame {
  std::int64_t rank = 0;
  std::int64_t id = 0;
  std::string name;
  int score = 0;
  std::string date;  // accepted
};

struct StoreOutcome {
  enum Kind { Stored, Duplicate, TakenDown } kind = Stored;
  RankedGame game;  // Stored, Duplicate: the game as ranked now
};

// The database does not answer; nothing was stored. The caller asks the
// client to come back later, and the store reconnects on its own.
struct StoreUnavailable : std::runtime_error {
  using std::runtime_error::runtime_error;
};

class RankingStore {
 public:
  virtual ~RankingStore() = default;
  // Stores a game unless the same game is there already.
  virtual StoreOutcome Keep(const AcceptedGame& game) = 0;
  virtual std::vector<RankedGame> Ranking(std::int64_t limit, std::int64_t offset) = 0;
  virtual std::int64_t RankedCount() = 0;
  virtual std::optional<std::string> Replay(std::int64_t id) = 0;
  // Takes a game out of the ranking for good; false when there is none.
  virtual bool TakeDown(std::int64_t id) = 0;
};

}  // namespace pellmora::ranking
