// The ranking in one SQLite file, ranking.sqlite3 in the data folder, in
// WAL mode with a full sync at every commit: nothing else to install, and a
// game answered as stored survives a crash of the server.
#pragma once

#include <memory>
#include <string>

#include "server/RankingStore.h"

namespace pellmora::ranking {

// Makes the folder and the tables when missing. Throws std::runtime_error.
std::unique_ptr<RankingStore> OpenSqliteStore(const std::string& folder);

}  // namespace pellmora::ranking
