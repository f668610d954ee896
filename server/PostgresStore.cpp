#include "server/PostgresStore.h"

#include <libpq-fe.h>

#include <array>
#include <mutex>
#include <string_view>
#include <vector>

namespace pellmora::ranking {

namespace {

// Made once per database; the advisory lock keeps two servers starting at
// once from making the same table twice.
constexpr const char* kSchema = R"sql(
BEGIN;
SELECT pg_advisory_xact_lock(7130411);
CREATE TABLE IF NOT EXISTS games (
  id BIGSERIAL PRIMARY KEY,
  identity TEXT NOT NULL UNIQUE,
  name TEXT NOT NULL,
  score INTEGER NOT NULL,
  played TEXT NOT NULL,
  accepted TEXT NOT NULL,
  host TEXT NOT NULL,
  replay BYTEA NOT NULL,
  taken_down BOOLEAN NOT NULL DEFAULT FALSE
);
CREATE INDEX IF NOT EXISTS games_by_score ON games (taken_down, score DESC, id);
COMMIT;
)sql";

constexpr const char* kRankOf =
    "SELECT g.name, g.score, g.accepted, (SELECT COUNT(*) FROM games a WHERE NOT a.taken_down"
    " AND (a.score > g.score OR (a.score = g.score AND a.id < g.id))) + 1"
    " FROM games g WHERE g.id = $1";

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

// A query's parameters, all text but the ones marked binary.
struct Parameters {
  std::vector<std::string> values;
  std::vector<int> binary;
  Parameters& Text(std::string value) {
    values.push_back(std::move(value));
    binary.push_back(0);
    return *this;
  }
  Parameters& Bytes(std::string value) {
    values.push_back(std::move(value));
    binary.push_back(1);
    return *this;
  }
};

class PostgresStore final : public RankingStore {
 public:
  explicit PostgresStore(std::string url) : url_(std::move(url)) {}
  ~PostgresStore() override {
    for (PGconn* connection : idle_) PQfinish(connection);
  }

  StoreOutcome Keep(const AcceptedGame& game) override {
    Connection db(*this);
    Result inserted = db.Query(
        "INSERT INTO games (identity, name, score, played, accepted, host, replay)"
        " VALUES ($1, $2, $3, $4, $5, $6, $7) ON CONFLICT (identity) DO NOTHING RETURNING id",
        Parameters()
            .Text(game.identity)
            .Text(game.name)
            .Text(std::to_string(game.score))
            .Text(game.played)
            .Text(game.accepted)
            .Text(game.host)
            .Bytes(game.replay));
    if (PQntuples(inserted.get()) == 1)
      return {StoreOutcome::Stored, Ranked(db, Int(inserted, 0, 0))};
    Result known = db.Query("SELECT id, taken_down FROM games WHERE identity = $1",
                            Parameters().Text(game.identity));
    if (PQntuples(known.get()) != 1) throw StoreUnavailable("PostgreSQL lost a game it refused");
    if (std::string_view(PQgetvalue(known.get(), 0, 1)) == "t")
      return {StoreOutcome::TakenDown, {}};
    return {StoreOutcome::Duplicate, Ranked(db, Int(known, 0, 0))};
  }

  std::vector<RankedGame> Ranking(std::int64_t limit, std::int64_t offset) override {
    Connection db(*this);
    Result best = db.Query(
        "SELECT id, name, score, accepted FROM games WHERE NOT taken_down"
        " ORDER BY score DESC, id LIMIT $1 OFFSET $2",
        Parameters().Text(std::to_string(limit)).Text(std::to_string(offset)));
    std::vector<RankedGame> games;
    for (int row = 0; row < PQntuples(best.get()); ++row) {
      games.push_back({offset + row + 1, Int(best, row, 0), PQgetvalue(best.get(), row, 1),
                       static_cast<int>(Int(best, row, 2)), PQgetvalue(best.get(), row, 3)});
    }
    return games;
  }

  std::int64_t RankedCount() override {
    Connection db(*this);
    Result count = db.Query("SELECT COUNT(*) FROM games WHERE NOT taken_down", Parameters());
    return Int(count, 0, 0);
  }

  std::optional<std::string> Replay(std::int64_t id) override {
    Connection db(*this);
    Result replay = db.Query("SELECT replay FROM games WHERE id = $1 AND NOT taken_down",
                             Parameters().Text(std::to_string(id)), /*binaryResult=*/true);
    if (PQntuples(replay.get()) != 1) return std::nullopt;
    return std::string(PQgetvalue(replay.get(), 0, 0),
                       static_cast<std::size_t>(PQgetlength(replay.get(), 0, 0)));
  }

  bool TakeDown(std::int64_t id) override {
    Connection db(*this);
    Result down = db.Query("UPDATE games SET taken_down = TRUE WHERE id = $1 AND NOT taken_down",
                           Parameters().Text(std::to_string(id)));
    return std::string_view(PQcmdTuples(down.get())) == "1";
  }

 private:
  // A connection from the pool for one call; a broken one is dropped, so
  // that the next call connects afresh once the database is back.
  class Connection {
   public:
    explicit Connection(PostgresStore& store) : store_(store), db_(store.Take()) {}
    ~Connection() { store_.Give(db_, broken_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Result Query(const char* sql, const Parameters& parameters, bool binaryResult = false) {
      std::vector<const char*> values;
      std::vector<int> lengths;
      for (const std::string& value : parameters.values) {
        values.push_back(value.data());
        lengths.push_back(static_cast<int>(value.size()));
      }
      Result result(PQexecParams(db_, sql, static_cast<int>(values.size()), nullptr, values.data(),
                                 lengths.data(), parameters.binary.data(), binaryResult ? 1 : 0),
                    &PQclear);
      const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
      if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        broken_ = PQstatus(db_) != CONNECTION_OK;
        throw StoreUnavailable(std::string("PostgreSQL: ") + PQerrorMessage(db_));
      }
      return result;
    }

   private:
    PostgresStore& store_;
    PGconn* db_;
    bool broken_ = false;
  };

  PGconn* Take() {
    {
      std::lock_guard<std::mutex> hold(lock_);
      if (!idle_.empty()) {
        PGconn* db = idle_.back();
        idle_.pop_back();
        return db;
      }
    }
    // A database that does not answer within seconds counts as stopped.
    const std::array<const char*, 3> keys{"dbname", "connect_timeout", nullptr};
    const std::array<const char*, 3> values{url_.c_str(), "3", nullptr};
    PGconn* db = PQconnectdbParams(keys.data(), values.data(), /*expand_dbname=*/1);
    if (PQstatus(db) != CONNECTION_OK) {
      const std::string why = db ? PQerrorMessage(db) : "out of memory";
      PQfinish(db);
      throw StoreUnavailable("PostgreSQL: " + why);
    }
    std::lock_guard<std::mutex> hold(lock_);
    if (!schemaMade_) {
      Result made(PQexec(db, kSchema), &PQclear);
      if (PQresultStatus(made.get()) != PGRES_COMMAND_OK) {
        const std::string why = PQerrorMessage(db);
        PQfinish(db);
        throw StoreUnavailable("PostgreSQL: " + why);
      }
      schemaMade_ = true;
    }
    return db;
  }

  void Give(PGconn* db, bool broken) {
    if (broken || PQstatus(db) != CONNECTION_OK) {
      PQfinish(db);
      return;
    }
    std::lock_guard<std::mutex> hold(lock_);
    idle_.push_back(db);
  }

  static std::int64_t Int(const Result& result, int row, int column) {
    return std::stoll(PQgetvalue(result.get(), row, column));
  }

  static RankedGame Ranked(Connection& db, std::int64_t id) {
    Result game = db.Query(kRankOf, Parameters().Text(std::to_string(id)));
    if (PQntuples(game.get()) != 1) throw StoreUnavailable("PostgreSQL lost a stored game");
    return {Int(game, 0, 3), id, PQgetvalue(game.get(), 0, 0), static_cast<int>(Int(game, 0, 1)),
            PQgetvalue(game.get(), 0, 2)};
  }

  const std::string url_;
  std::mutex lock_;
  std::vector<PGconn*> idle_;
  bool schemaMade_ = false;
};

}  // namespace

std::unique_ptr<RankingStore> OpenPostgresStore(const std::string& url) {
  return std::make_unique<PostgresStore>(url);
}

}  // namespace pellmora::ranking
