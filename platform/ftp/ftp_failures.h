// What a failed libcurl request says about the connection that carried it.
#pragma once

#include <string>
#include <vector>

namespace webquill {

// A timeout, a reset or a lost connection, as against a refusal of one file.
// `code` is the request's CURLcode.
bool IsConnectionFailure(int code);

// A data connection the server would not take over TLS; `replies` are the
// server's replies to the request.
bool IsTlsRefusal(int code, const std::vector<std::string>& replies);

}  // namespace webquill
