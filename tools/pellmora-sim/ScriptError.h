// A fault in one script line, in a few words; the runner adds the line number.
#pragma once

#include <stdexcept>

namespace pellmora {

class ScriptError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace pellmora
