// pellmora-ranking-server: one ranking for the world, in which a score
// counts only when its replay re-runs to it here.
#include <httplib.h>
#include <signal.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <thread>

#include "server/PostgresStore.h"
#include "server/RankingApi.h"
#include "server/ServerOptions.h"
#include "server/SiteFiles.h"
#include "server/SqliteStore.h"

using namespace pellmora::ranking;

namespace {

// A slow client is let go after this long without a byte either way.
constexpr int kClientTimeoutSeconds = 5;

std::unique_ptr<RankingStore> OpenStore(const ServerOptions& options) {
  if (!options.database.empty()) return OpenPostgresStore(options.database);
  return OpenSqliteStore(options.data);
}

int TakeDown(RankingStore& store, std::int64_t id) {
  if (!store.TakeDown(id)) {
    std::cerr << "pellmora-ranking-server: no game " << id << " in the ranking\n";
    return 1;
  }
  std::cout << "game " << id << " taken out of the ranking\n";
  return 0;
}

int Serve(RankingStore& store, const ServerOptions& options) {
  // SIGINT and SIGTERM stop the server between requests; they are taken by
  // a thread of their own, so that no handler runs inside a signal.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGINT);
  sigaddset(&stops, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stops, nullptr);
  signal(SIGPIPE, SIG_IGN);

  httplib::Server server;
  const int threads = options.threads;
  server.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  server.set_read_timeout(kClientTimeoutSeconds);
  server.set_write_timeout(kClientTimeoutSeconds);
  server.set_keep_alive_timeout(kClientTimeoutSeconds);
  RankingApi api(store, options);
  api.Install(server);
  if (!options.site.empty()) ServeSite(server, options.site);
  server.set_error_handler([](const httplib::Request& request, httplib::Response& response) {
    if (request.path.starts_with("/api/") && response.body.empty())
      response.set_content(R"({"error":"no such resource"})", "application/json");
  });

  int port = options.listenPort;
  if (port == 0) {
    port = server.bind_to_any_port(options.listenHost);
    if (port < 0) port = 0;
  } else if (!server.bind_to_port(options.listenHost, port)) {
    port = 0;
  }
  if (port == 0) {
    std::cerr << "pellmora-ranking-server: cannot listen on " << options.listenHost << ':'
              << options.listenPort << '\n';
    return 1;
  }
  std::cout << "pellmora-ranking-server: listening on http://" << options.listenHost << ':' << port
            << "/" << std::endl;

  std::thread stopper([&server, stops] {
    int taken = 0;
    sigwait(&stops, &taken);
    server.stop();
  });
  stopper.detach();
  return server.listen_after_bind() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  ServerOptions options;
  try {
    options = ParseServerOptions(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::invalid_argument& wrong) {
    std::cerr << "pellmora-ranking-server: " << wrong.what() << "\n\n" << kServerUsage;
    return 2;
  }
  if (options.help) {
    std::cout << kServerUsage;
    return 0;
  }
  try {
    std::unique_ptr<RankingStore> store = OpenStore(options);
    if (options.remove) return TakeDown(*store, options.removeId);
    return Serve(*store, options);
  } catch (const std::exception& failure) {
    std::cerr << "pellmora-ranking-server: " << failure.what() << '\n';
    return 1;
  }
}
