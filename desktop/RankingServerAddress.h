// The world ranking server's address as the player gives it: an http or
// https URL with a host, nothing else, so that a typo is refused at once
// rather than found out at the first send.
#pragma once

#include <string>

namespace pellmora {

struct RankingServerAddress {
  std::string url;    // the address without a trailing slash, when it is good
  std::string error;  // why it is refused, in a few words; empty when good
};

RankingServerAddress CheckRankingServer(const std::string& given);

}  // namespace pellmora
