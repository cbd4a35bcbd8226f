#include "platform/ftp/ftp_url.h"

#include <curl/curl.h>

#include <cctype>
#include <cstdlib>
#include <mutex>

namespace webquill {

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

bool ParseFtpUrl(const std::string& text, FtpUrl& url) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
    CURLU* parsed = curl_url();
    bool ok = curl_url_set(parsed, CURLUPART_URL, text.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK;
    char* part = nullptr;
    if (ok && curl_url_get(parsed, CURLUPART_SCHEME, &part, 0) == CURLUE_OK) {
        url.scheme = Lower(part);
        curl_free(part);
    }
    if (ok && curl_url_get(parsed, CURLUPART_HOST, &part, 0) == CURLUE_OK) {
        url.host = part;
        curl_free(part);
    } else {
        url.host.clear();
    }
    url.port = 0;
    if (ok && curl_url_get(parsed, CURLUPART_PORT, &part, 0) == CURLUE_OK) {
        url.port = std::atoi(part);
        curl_free(part);
    }
    curl_url_cleanup(parsed);
    return ok;
}

}  // namespace webquill
