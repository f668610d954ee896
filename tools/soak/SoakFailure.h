// A broken invariant stops the soak with a message saying what and where.
#pragma once

#include <stdexcept>
#include <string>

namespace pellmora {

struct SoakFailure : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] inline void Fail(const std::string& what) {
  throw SoakFailure(what);
}

// The checks of every tick pass a plain text, so that no message is built
// while all is well.
inline void Expect(bool holds, const char* what) {
  if (!holds) Fail(what);
}

inline void Expect(bool holds, const std::string& what) {
  if (!holds) Fail(what);
}

}  // namespace pellmora
