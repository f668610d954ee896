// The world ranking server's answers read for the player: a send's outcome
// in the game's words, and a page of the ranking.
#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "desktop/WorldRankingClient.h"

namespace pellmora {

// What a box tells the player after "世界ランキングに送る".
QString SendOutcome(const WorldRankingClient::Answer& answer);

// Why a page or a replay could not be fetched, in a sentence.
QString FetchProblem(const WorldRankingClient::Answer& answer);

struct WorldRankingRow {
  int rank = 0;
  std::int64_t id = 0;
  QString name;
  int score = 0;
  QString date;  // the player's local time, as the window shows it
};

struct WorldRankingPage {
  bool ok = false;
  int total = 0;
  int offset = 0;
  std::vector<WorldRankingRow> rows;
};

// GET /api/v1/ranking's body; not ok when it is not what the API says.
WorldRankingPage ReadRankingPage(const QByteArray& body);

}  // namespace pellmora
