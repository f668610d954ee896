#include "desktop/WorldRankingClient.h"

#include <QNetworkRequest>
#include <QPointer>
#include <QUrl>
#include <QUrlQuery>
#include <QVariant>

namespace pellmora {

WorldRankingClient::WorldRankingClient(QObject* parent) : QObject(parent) {}

QNetworkRequest WorldRankingClient::RequestFor(const QString& path) const {
  QNetworkRequest request(QUrl(QString::fromStdString(server_) + path));
  request.setTransferTimeout(kTimeoutMs);
  request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Pellmora"));
  return request;
}

void WorldRankingClient::SendReplay(const QByteArray& replay, QObject* context, Done done) {
  QNetworkRequest request = RequestFor(QStringLiteral("/api/v1/games"));
  request.setHeader(QNetworkRequest::ContentTypeHeader,
                    QStringLiteral("application/x-pellmora-replay"));
  Await(manager_.post(request, replay), context, std::move(done));
}

void WorldRankingClient::FetchRanking(int offset, int limit, QObject* context, Done done) {
  const QString path = QStringLiteral("/api/v1/ranking?limit=%1&offset=%2").arg(limit).arg(offset);
  Await(manager_.get(RequestFor(path)), context, std::move(done));
}

void WorldRankingClient::FetchReplay(std::int64_t id, QObject* context, Done done) {
  const QString path = QStringLiteral("/api/v1/games/%1/replay").arg(id);
  Await(manager_.get(RequestFor(path)), context, std::move(done));
}

void WorldRankingClient::Await(QNetworkReply* reply, QObject* context, Done done) {
  QPointer<QObject> guard(context);
  connect(reply, &QNetworkReply::finished, this, [reply, guard, done = std::move(done)] {
    reply->deleteLater();
    if (guard == nullptr) return;
    Answer answer;
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (status.isValid()) {
      answer.status = status.toInt();
      answer.body = reply->readAll();
      answer.retryAfter = reply->rawHeader("Retry-After");
    } else {
      answer.timedOut = reply->error() == QNetworkReply::TimeoutError ||
                        reply->error() == QNetworkReply::OperationCanceledError;
      answer.networkError = reply->errorString();
    }
    done(answer);
  });
}

}  // namespace pellmora
