#include "server/SqliteStore.h"

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <mutex>
#include <stdexcept>

namespace pellmora::ranking {

namespace {

constexpr const char* kSchema = R"sql(
PRAGMA journal_mode = WAL;
PRAGMA synchronous = FULL;
CREATE TABLE IF NOT EXISTS games (
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  identity TEXT NOT NULL UNIQUE,
  name TEXT NOT NULL,
  score INTEGER NOT NULL,
  played TEXT NOT NULL,
  accepted TEXT NOT NULL,
  host TEXT NOT NULL,
  replay BLOB NOT NULL,
  taken_down INTEGER NOT NULL DEFAULT 0
);
CREATE INDEX IF NOT EXISTS games_by_score ON games (taken_down, score DESC, id);
)sql";

// One statement, reset for its next use when it goes out of scope.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) : db_(db) {
    if (sqlite3_prepare_v2(db, sql, -1, &statement_, nullptr) != SQLITE_OK)
      throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(db));
  }
  ~Statement() { sqlite3_finalize(statement_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& Bind(int at, std::int64_t value) {
    sqlite3_bind_int64(statement_, at, value);
    return *this;
  }
  Statement& Bind(int at, const std::string& text) {
    sqlite3_bind_text(statement_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
  }
  Statement& BindBlob(int at, const std::string& bytes) {
    sqlite3_bind_blob(statement_, at, bytes.data(), static_cast<int>(bytes.size()),
                      SQLITE_TRANSIENT);
    return *this;
  }
  // True while there is a row to read.
  bool Step() {
    const int status = sqlite3_step(statement_);
    if (status == SQLITE_ROW) return true;
    if (status == SQLITE_DONE) return false;
    throw StoreUnavailable(std::string("SQLite: ") + sqlite3_errmsg(db_));
  }
  std::int64_t Int(int column) { return sqlite3_column_int64(statement_, column); }
  std::string Text(int column) {
    const void* bytes = sqlite3_column_blob(statement_, column);
    const int size = sqlite3_column_bytes(statement_, column);
    return bytes ? std::string(static_cast<const char*>(bytes), static_cast<std::size_t>(size))
                 : std::string();
  }

 private:
  sqlite3* db_;
  sqlite3_stmt* statement_ = nullptr;
};

class SqliteStore final : public RankingStore {
 public:
  explicit SqliteStore(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        nullptr) != SQLITE_OK) {
      const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
      sqlite3_close(db_);
      throw std::runtime_error("cannot open " + path + ": " + why);
    }
    sqlite3_busy_timeout(db_, 5000);
    Run(kSchema);
  }
  ~SqliteStore() override { sqlite3_close(db_); }

  StoreOutcome Keep(const AcceptedGame& game) override {
    std::lock_guard<std::mutex> hold(lock_);
    Run("BEGIN IMMEDIATE");
    try {
      Statement known(db_, "SELECT id, taken_down FROM games WHERE identity = ?1");
      if (known.Bind(1, game.identity).Step()) {
        const std::int64_t id = known.Int(0);
        const bool takenDown = known.Int(1) != 0;
        Run("ROLLBACK");
        if (takenDown) return {StoreOutcome::TakenDown, {}};
        return {StoreOutcome::Duplicate, Ranked(id)};
      }
      Statement insert(db_,
                       "INSERT INTO games (identity, name, score, played, accepted, host, replay)"
                       " VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7)");
      insert.Bind(1, game.identity).Bind(2, game.name).Bind(3, game.score);
      insert.Bind(4, game.played).Bind(5, game.accepted).Bind(6, game.host);
      insert.BindBlob(7, game.replay).Step();
      const std::int64_t id = sqlite3_last_insert_rowid(db_);
      Run("COMMIT");
      return {StoreOutcome::Stored, Ranked(id)};
    } catch (...) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
      throw;
    }
  }

  std::vector<RankedGame> Ranking(std::int64_t limit, std::int64_t offset) override {
    std::lock_guard<std::mutex> hold(lock_);
    Statement best(db_,
                   "SELECT id, name, score, accepted FROM games WHERE taken_down = 0"
                   " ORDER BY score DESC, id LIMIT ?1 OFFSET ?2");
    best.Bind(1, limit).Bind(2, offset);
    std::vector<RankedGame> games;
    while (best.Step()) {
      games.push_back({offset + static_cast<std::int64_t>(games.size()) + 1, best.Int(0),
                       best.Text(1), static_cast<int>(best.Int(2)), best.Text(3)});
    }
    return games;
  }

  std::int64_t RankedCount() override {
    std::lock_guard<std::mutex> hold(lock_);
    Statement count(db_, "SELECT COUNT(*) FROM games WHERE taken_down = 0");
    count.Step();
    return count.Int(0);
  }

  std::optional<std::string> Replay(std::int64_t id) override {
    std::lock_guard<std::mutex> hold(lock_);
    Statement replay(db_, "SELECT replay FROM games WHERE id = ?1 AND taken_down = 0");
    if (!replay.Bind(1, id).Step()) return std::nullopt;
    return replay.Text(0);
  }

  bool TakeDown(std::int64_t id) override {
    std::lock_guard<std::mutex> hold(lock_);
    Statement down(db_, "UPDATE games SET taken_down = 1 WHERE id = ?1 AND taken_down = 0");
    down.Bind(1, id).Step();
    return sqlite3_changes(db_) > 0;
  }

 private:
  void Run(const char* sql) {
    char* why = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &why) != SQLITE_OK) {
      const std::string text = why ? why : "error";
      sqlite3_free(why);
      throw StoreUnavailable("SQLite: " + text);
    }
  }

  // Its rank among the games not taken down: a tie goes to the earlier one.
  RankedGame Ranked(std::int64_t id) {
    Statement game(db_, "SELECT name, score, accepted FROM games WHERE id = ?1");
    game.Bind(1, id).Step();
    RankedGame ranked{0, id, game.Text(0), static_cast<int>(game.Int(1)), game.Text(2)};
    Statement ahead(db_,
                    "SELECT COUNT(*) FROM games WHERE taken_down = 0"
                    " AND (score > ?1 OR (score = ?1 AND id < ?2))");
    ahead.Bind(1, ranked.score).Bind(2, id).Step();
    ranked.rank = ahead.Int(0) + 1;
    return ranked;
  }

  sqlite3* db_ = nullptr;
  std::mutex lock_;
};

}  // namespace

std::unique_ptr<RankingStore> OpenSqliteStore(const std::string& folder) {
  if (mkdir(folder.c_str(), 0755) != 0 && errno != EEXIST)
    throw std::runtime_error("cannot make the data folder " + folder + ": " + std::strerror(errno));
  return std::make_unique<SqliteStore>(folder + "/ranking.sqlite3");
}

}  // namespace pellmora::ranking
