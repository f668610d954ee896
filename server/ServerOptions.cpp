#include "server/ServerOptions.h"

#include <charconv>
#include <stdexcept>

namespace pellmora::ranking {

const char* const kServerUsage =
    "usage: pellmora-ranking-server [OPTION...]\n"
    "       pellmora-ranking-server [--data FOLDER | --database URL] remove ID\n"
    "\n"
    "Keeps one Pellmora ranking for the world: a game is ranked only when its\n"
    "replay re-runs here to the score it claims.\n"
    "\n"
    "  --listen HOST:PORT     where to answer (127.0.0.1:8090; port 0 picks a free one)\n"
    "  --data FOLDER          keep the ranking in FOLDER/ranking.sqlite3 (ranking-data)\n"
    "  --database URL         keep it in PostgreSQL instead, e.g.\n"
    "                         postgresql://pellmora@db.example:5432/pellmora\n"
    "  --site FOLDER          also serve the browser game from FOLDER\n"
    "  --submissions-per-minute N\n"
    "                         games one address may send a minute (20; 0: no limit)\n"
    "  --verify-ms N          the longest one replay may take to verify (2000)\n"
    "  --threads N            requests answered at once (16)\n"
    "  --help                 show this and quit\n"
    "\n"
    "remove ID takes the game ID out of the ranking for good.\n";

namespace {

long long Number(const std::string& option, const std::string& text, long long low,
                 long long high) {
  long long value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < low || value > high)
    throw std::invalid_argument(option + ": not a number from " + std::to_string(low) + " to " +
                                std::to_string(high) + ": \"" + text + "\"");
  return value;
}

}  // namespace

ServerOptions ParseServerOptions(const std::vector<std::string>& arguments) {
  ServerOptions options;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    if (option == "--help" || option == "-h") {
      options.help = true;
      continue;
    }
    if (option == "remove") {
      if (i + 2 != arguments.size()) throw std::invalid_argument("remove takes one game ID, last");
      options.remove = true;
      options.removeId = Number("remove", arguments[++i], 1, INT64_MAX);
      continue;
    }
    if (i + 1 >= arguments.size())
      throw std::invalid_argument(option.starts_with("--") ? option + " needs a value"
                                                           : "unknown argument \"" + option + "\"");
    const std::string& value = arguments[++i];
    if (option == "--listen") {
      const std::size_t colon = value.rfind(':');
      if (colon == std::string::npos || colon == 0)
        throw std::invalid_argument("--listen: HOST:PORT, not \"" + value + "\"");
      options.listenHost = value.substr(0, colon);
      options.listenPort = static_cast<int>(Number("--listen", value.substr(colon + 1), 0, 65535));
    } else if (option == "--data") {
      options.data = value;
    } else if (option == "--database") {
      if (!value.starts_with("postgresql://") && !value.starts_with("postgres://"))
        throw std::invalid_argument("--database: a postgresql:// URL, not \"" + value + "\"");
      options.database = value;
    } else if (option == "--site") {
      options.site = value;
    } else if (option == "--submissions-per-minute") {
      options.submissionsPerMinute = static_cast<int>(Number(option, value, 0, 1000000));
    } else if (option == "--verify-ms") {
      options.verifyMilliseconds = static_cast<int>(Number(option, value, 1, 600000));
    } else if (option == "--threads") {
      options.threads = static_cast<int>(Number(option, value, 1, 1024));
    } else {
      throw std::invalid_argument("unknown option \"" + option + "\"");
    }
  }
  return options;
}

}  // namespace pellmora::ranking
