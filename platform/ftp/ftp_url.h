// The parts of an FTP site's URL that a connection needs.
#pragma once

#include <string>

namespace webquill {

// What "parse URL" gives: the scheme, the server and the port (0: none given).
struct FtpUrl {
    std::string scheme;  // lower case: "ftp", "ftps", "http", ...
    std::string host;
    int port = 0;
};
// False when `text` is not a URL with a scheme ("host" alone is not).
bool ParseFtpUrl(const std::string& text, FtpUrl& url);

}  // namespace webquill
