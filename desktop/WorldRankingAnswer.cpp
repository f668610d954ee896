#include "desktop/WorldRankingAnswer.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace pellmora {

namespace {

QJsonObject ObjectOf(const QByteArray& body) {
  return QJsonDocument::fromJson(body).object();
}

// The server's reason in the game's words; one the game does not know yet
// as the server wrote it, or at least the status.
QString Reason(const WorldRankingClient::Answer& answer) {
  const QJsonObject body = ObjectOf(answer.body);
  const QString reason = body.value(QStringLiteral("reason")).toString();
  if (reason == QLatin1String("differs"))
    return QStringLiteral("%1秒目から記録と違うゲームになりました")
        .arg(body.value(QStringLiteral("second")).toInteger());
  if (reason == QLatin1String("scripted"))
    return QStringLiteral("乱数を決めて遊んだゲームは登録できません");
  if (reason == QLatin1String("damaged")) return QStringLiteral("リプレイが壊れています");
  if (reason == QLatin1String("too-large")) return QStringLiteral("リプレイが大きすぎます");
  if (reason == QLatin1String("too-slow"))
    return QStringLiteral("確かめるのに時間がかかりすぎました");
  if (reason == QLatin1String("taken-down"))
    return QStringLiteral("このゲームはランキングから外されています");
  if (reason == QLatin1String("rules"))
    return QStringLiteral("このサーバーとはルールの版が違います");
  const QString error = body.value(QStringLiteral("error")).toString();
  return error.isEmpty() ? QStringLiteral("HTTP %1").arg(answer.status) : error;
}

QString NoAnswer(const WorldRankingClient::Answer& answer) {
  if (answer.timedOut)
    return QStringLiteral("世界ランキングのサーバーから返事がありませんでした。");
  return QStringLiteral("世界ランキングのサーバーにつながりませんでした（%1）。")
      .arg(answer.networkError);
}

}  // namespace

QString SendOutcome(const WorldRankingClient::Answer& answer) {
  if (answer.status == 0) return NoAnswer(answer);
  const QJsonObject body = ObjectOf(answer.body);
  const int rank = body.value(QStringLiteral("rank")).toInt();
  const int score = body.value(QStringLiteral("score")).toInt();
  switch (answer.status) {
    case 201:
      if (rank > 0)
        return QStringLiteral("世界ランキングの%1位に登録しました（%2点）。").arg(rank).arg(score);
      break;
    case 200:
      if (rank > 0 && body.value(QStringLiteral("duplicate")).toBool()) {
        return QStringLiteral("このゲームはもう登録されています（%1位）。").arg(rank);
      }
      break;
    case 409:
    case 422:
      return QStringLiteral("世界ランキングに登録できませんでした（%1）。").arg(Reason(answer));
    case 429:
    case 503: {
      bool ok = false;
      const int seconds = answer.retryAfter.trimmed().toInt(&ok);
      if (ok && seconds > 0) {
        return QStringLiteral(
                   "サーバーが混み合っています。%1秒ほどしてからもう一度送ってください。")
            .arg(seconds);
      }
      return QStringLiteral("サーバーが混み合っています。しばらくしてからもう一度送ってください。");
    }
    default:
      break;
  }
  return QStringLiteral("世界ランキングのサーバーから思わぬ返事がありました（%1）。")
      .arg(Reason(answer));
}

QString FetchProblem(const WorldRankingClient::Answer& answer) {
  if (answer.status == 0) return NoAnswer(answer);
  return QStringLiteral("世界ランキングを読み込めませんでした（%1）。").arg(Reason(answer));
}

WorldRankingPage ReadRankingPage(const QByteArray& body) {
  WorldRankingPage page;
  const QJsonObject object = ObjectOf(body);
  const QJsonValue games = object.value(QStringLiteral("games"));
  if (!games.isArray()) return page;
  page.total = object.value(QStringLiteral("total")).toInt();
  page.offset = object.value(QStringLiteral("offset")).toInt();
  for (const QJsonValue& value : games.toArray()) {
    const QJsonObject game = value.toObject();
    WorldRankingRow row;
    row.rank = game.value(QStringLiteral("rank")).toInt();
    row.id = game.value(QStringLiteral("id")).toInteger();
    row.name = game.value(QStringLiteral("name")).toString();
    row.score = game.value(QStringLiteral("score")).toInt();
    const QDateTime when =
        QDateTime::fromString(game.value(QStringLiteral("date")).toString(), Qt::ISODate);
    row.date = when.isValid() ? when.toLocalTime().toString(QStringLiteral("yyyy/MM/dd HH:mm"))
                              : game.value(QStringLiteral("date")).toString();
    page.rows.push_back(row);
  }
  page.ok = true;
  return page;
}

}  // namespace pellmora
