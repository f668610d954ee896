// What the soak's player types into the name box: names a real player might
// type, and a few a careless one would.
#pragma once

#include <string>
#include <vector>

namespace pellmora {

struct PlayerAnswer {
  bool cancel = false;
  std::string text;
};

const std::vector<PlayerAnswer>& PlayerAnswers();

// The name the table must hold for an answer: cleaned, through the file's code page.
std::string StoredName(const PlayerAnswer& answer);

}  // namespace pellmora
