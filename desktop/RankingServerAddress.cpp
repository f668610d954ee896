#include "desktop/RankingServerAddress.h"

#include <QString>
#include <QUrl>

namespace pellmora {

RankingServerAddress CheckRankingServer(const std::string& given) {
  RankingServerAddress address;
  const QUrl url(QString::fromStdString(given), QUrl::StrictMode);
  if (given.empty() || !url.isValid() || url.scheme().isEmpty()) {
    address.error = "is not a URL";
  } else if (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https")) {
    address.error = "has another scheme";
  } else if (url.host().isEmpty()) {
    address.error = "names no host";
  } else if (!url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment()) {
    // The API's paths go after the address: a query or a fragment there
    // would swallow them, and a password has no place in a settings file.
    address.error = "carries a user, a query or a fragment";
  } else {
    QString text = url.toString(QUrl::FullyEncoded);
    while (text.endsWith(QLatin1Char('/'))) text.chop(1);
    address.url = text.toStdString();
  }
  return address;
}

}  // namespace pellmora
