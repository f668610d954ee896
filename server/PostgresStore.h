// The ranking in a PostgreSQL database, for a ranking that outgrows one
// machine: several servers on several machines share it. A server whose
// database stops answers "come back later" and reconnects on its own.
#pragma once

#include <memory>
#include <string>

#include "server/RankingStore.h"

namespace pellmora::ranking {

// url: postgresql://USER@HOST:PORT/DATABASE?... as libpq takes it. Does not
// connect yet: a server may start before its database does.
std::unique_ptr<RankingStore> OpenPostgresStore(const std::string& url);

}  // namespace pellmora::ranking
