// The world ranking's HTTP API (docs/ranking-api.md) on a cpp-httplib
// server: submissions judged and kept, the ranking and its replays read.
#pragma once

#include <httplib.h>

#include "server/RankingStore.h"
#include "server/RateLimit.h"
#include "server/ServerOptions.h"

namespace pellmora::ranking {

class RankingApi {
 public:
  RankingApi(RankingStore& store, const ServerOptions& options);
  void Install(httplib::Server& server);

 private:
  void PostGame(const httplib::Request& request, httplib::Response& response,
                const httplib::ContentReader& read);
  void GetRanking(const httplib::Request& request, httplib::Response& response);
  void GetReplay(const httplib::Request& request, httplib::Response& response);

  RankingStore& store_;
  const ServerOptions& options_;
  RateLimit submissions_;
};

}  // namespace pellmora::ranking
