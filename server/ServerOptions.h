// The server's command line.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pellmora::ranking {

struct ServerOptions {
  std::string listenHost = "127.0.0.1";
  int listenPort = 8090;  // 0: any free port
  std::string data = "ranking-data";
  std::string database;           // a PostgreSQL URL; empty: SQLite in `data`
  std::string site;               // the browser site's folder; empty: no site
  int submissionsPerMinute = 20;  // per address; 0: no limit
  int verifyMilliseconds = 2000;
  int threads = 16;
  // `remove ID`: take a game down and quit.
  bool remove = false;
  std::int64_t removeId = 0;
  bool help = false;
};

extern const char* const kServerUsage;

// Throws std::invalid_argument naming the argument that is wrong.
ServerOptions ParseServerOptions(const std::vector<std::string>& arguments);

}  // namespace pellmora::ranking
