#include "platform/ftp/ftp_failures.h"

#include <curl/curl.h>

#include <algorithm>

namespace webquill {

bool IsConnectionFailure(int code) {
    switch (code) {
    case CURLE_OPERATION_TIMEDOUT:
    case CURLE_FTP_ACCEPT_TIMEOUT:
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
    case CURLE_WEIRD_SERVER_REPLY:
        return true;
    default:
        return false;
    }
}

bool IsTlsRefusal(int code, const std::vector<std::string>& replies) {
    switch (code) {
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_USE_SSL_FAILED:
    case CURLE_SSL_SHUTDOWN_FAILED:
        return true;
    default:
        // "522": the server wants TLS on the data connection that it could not set up.
        return std::any_of(replies.begin(), replies.end(), [](const std::string& r) { return r.starts_with("522"); });
    }
}

}  // namespace webquill
