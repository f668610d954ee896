// The world ranking server's API (docs/ranking-api.md) over Qt Network.
// Every request runs on the event loop and hands its answer to a callback:
// the game goes on meanwhile, however slow or far away the server is, and a
// server that stops answering is given up after kTimeoutMs.
#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>

namespace pellmora {

class WorldRankingClient final : public QObject {
  Q_OBJECT

 public:
  static constexpr int kTimeoutMs = 15000;

  // What came back: an HTTP status with its body, or no answer at all.
  struct Answer {
    int status = 0;  // 0 when no HTTP answer came
    QByteArray body;
    QByteArray retryAfter;  // the Retry-After header, as sent
    bool timedOut = false;
    QString networkError;  // Qt's words for why no answer came
  };
  using Done = std::function<void(const Answer&)>;

  explicit WorldRankingClient(QObject* parent = nullptr);

  // The address, as CheckRankingServer gives it; empty for none.
  void SetServer(const std::string& url) { server_ = url; }
  const std::string& Server() const noexcept { return server_; }

  // POST /api/v1/games with a replay file's bytes.
  void SendReplay(const QByteArray& replay, QObject* context, Done done);
  // GET /api/v1/ranking?limit=&offset=.
  void FetchRanking(int offset, int limit, QObject* context, Done done);
  // GET /api/v1/games/ID/replay.
  void FetchReplay(std::int64_t id, QObject* context, Done done);

 private:
  QNetworkRequest RequestFor(const QString& path) const;
  // Calls `done` with the reply's answer once it has finished, unless
  // `context` has gone by then.
  void Await(QNetworkReply* reply, QObject* context, Done done);

  QNetworkAccessManager manager_;
  std::string server_;
};

}  // namespace pellmora
