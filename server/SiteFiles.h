// The browser game's site served beside the API, so that one address runs
// the whole thing: the files as the web build wrote them, with the
// compressed copy (NAME.br, NAME.gz) where the browser takes it.
#pragma once

#include <httplib.h>

#include <string>

namespace pellmora::ranking {

void ServeSite(httplib::Server& server, const std::string& folder);

}  // namespace pellmora::ranking
