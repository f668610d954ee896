#include "server/RankingApi.h"

#include <charconv>
#include <chrono>
#include <ctime>
#include <nlohmann/json.hpp>

#include "game/Rules.h"
#include "server/Judgement.h"

namespace pellmora::ranking {

namespace {

using nlohmann::json;

// How long a client waits when the database is away.
constexpr int kUnavailableRetrySeconds = 5;

void Answer(httplib::Response& response, int status, const json& body) {
  response.status = status;
  // Names are the game's own UTF-8; anything else is shown as U+FFFD.
  response.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace),
                       "application/json");
}

void Refuse(httplib::Response& response, int status, const std::string& why) {
  Answer(response, status, json{{"error", why}});
}

json GameJson(const RankedGame& game) {
  return json{{"rank", game.rank},
              {"id", game.id},
              {"name", game.name},
              {"score", game.score},
              {"date", game.date}};
}

std::string UtcNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
  return text;
}

bool Whole(const std::string& text, std::int64_t low, std::int64_t high, std::int64_t& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= low && value <= high;
}

}  // namespace

RankingApi::RankingApi(RankingStore& store, const ServerOptions& options)
    : store_(store), options_(options), submissions_(options.submissionsPerMinute) {}

void RankingApi::Install(httplib::Server& server) {
  server.Get("/api/v1/info", [](const httplib::Request&, httplib::Response& response) {
    Answer(response, 200,
           json{{"server", "pellmora-ranking-server"},
                {"version", PELLMORA_VERSION},
                {"rules", json::array({kRulesVersion})},
                {"maxReplayBytes", kMaxBodyBytes}});
  });
  server.Post("/api/v1/games",
              [this](const httplib::Request& request, httplib::Response& response,
                     const httplib::ContentReader& read) { PostGame(request, response, read); });
  server.Get("/api/v1/ranking",
             [this](const httplib::Request& request, httplib::Response& response) {
               GetRanking(request, response);
             });
  server.Get(R"(/api/v1/games/(\d{1,18})/replay)",
             [this](const httplib::Request& request, httplib::Response& response) {
               GetReplay(request, response);
             });
  server.set_exception_handler([](const httplib::Request& request, httplib::Response& response,
                                  std::exception_ptr thrown) {
    try {
      std::rethrow_exception(thrown);
    } catch (const StoreUnavailable&) {
      response.set_header("Retry-After", std::to_string(kUnavailableRetrySeconds));
      Refuse(response, 503,
             request.method == "POST" ? "the ranking's database does not answer; nothing was stored"
                                      : "the ranking's database does not answer; try again later");
    } catch (...) {
      Refuse(response, 500, "the server failed");
    }
  });
}

void RankingApi::PostGame(const httplib::Request& request, httplib::Response& response,
                          const httplib::ContentReader& read) {
  // Counted before the file is even read: re-running games is the work a
  // flood would make the server do.
  if (const int wait = submissions_.SecondsToWait(request.remote_addr)) {
    response.set_header("Retry-After", std::to_string(wait));
    Refuse(response, 429,
           "too many games from this address; try again in " + std::to_string(wait) + " s");
    return;
  }
  std::string body;
  bool tooLarge = false;
  read([&](const char* data, std::size_t size) {
    if (body.size() + size > kMaxBodyBytes) {
      tooLarge = true;
      return false;
    }
    body.append(data, size);
    return true;
  });
  if (tooLarge) {
    response.set_header("Connection", "close");
    Answer(response, 422,
           json{{"error",
                 "too large: a replay has at most " + std::to_string(kMaxBodyBytes) + " bytes"},
                {"reason", "too-large"}});
    return;
  }

  const Judgement judgement =
      JudgeReplay(body, std::chrono::milliseconds(options_.verifyMilliseconds), UtcNow());
  if (judgement.status != 201) {
    json refusal{{"error", judgement.error}, {"reason", judgement.reason}};
    if (judgement.reason == "differs") refusal["second"] = judgement.second;
    if (judgement.status == 409) refusal["rules"] = json::array({kRulesVersion});
    Answer(response, judgement.status, refusal);
    return;
  }
  const StoreOutcome outcome = store_.Keep(judgement.game);
  switch (outcome.kind) {
    case StoreOutcome::TakenDown:
      Answer(response, 422,
             json{{"error", "this game was taken out of the ranking"}, {"reason", "taken-down"}});
      return;
    case StoreOutcome::Duplicate: {
      json game = GameJson(outcome.game);
      game["duplicate"] = true;
      Answer(response, 200, game);
      return;
    }
    case StoreOutcome::Stored:
      Answer(response, 201, GameJson(outcome.game));
      return;
  }
}

void RankingApi::GetRanking(const httplib::Request& request, httplib::Response& response) {
  std::int64_t limit = 10;
  std::int64_t offset = 0;
  if (request.has_param("limit") && !Whole(request.get_param_value("limit"), 1, 100, limit))
    return Refuse(response, 400, "limit: a whole number from 1 to 100");
  if (request.has_param("offset") &&
      !Whole(request.get_param_value("offset"), 0, INT64_MAX / 2, offset))
    return Refuse(response, 400, "offset: a whole number from 0");
  json games = json::array();
  for (const RankedGame& game : store_.Ranking(limit, offset)) games.push_back(GameJson(game));
  Answer(response, 200,
         json{{"total", store_.RankedCount()}, {"offset", offset}, {"games", std::move(games)}});
}

void RankingApi::GetReplay(const httplib::Request& request, httplib::Response& response) {
  std::int64_t id = 0;
  if (!Whole(request.matches[1].str(), 1, INT64_MAX, id))
    return Refuse(response, 404, "no such game");
  const std::optional<std::string> replay = store_.Replay(id);
  if (!replay) return Refuse(response, 404, "no such game");
  response.set_header("Content-Disposition",
                      "attachment; filename=\"world-" + std::to_string(id) + ".pellmora-replay\"");
  response.set_content(*replay, "application/x-pellmora-replay");
}

}  // namespace pellmora::ranking
