// The inside of a connection, shared by its upload pipeline and its
// one-request operations: the easy handle of each lane and what one request
// carries.
#pragma once

#include "platform/ftp/ftp_connection.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

namespace webquill {

// Owns the command lists of one request.
struct CommandList {
    curl_slist* list = nullptr;
    CommandList() = default;
    CommandList(const CommandList&) = delete;
    CommandList& operator=(CommandList&& other) noexcept {
        std::swap(list, other.list);
        return *this;
    }
    ~CommandList() { curl_slist_free_all(list); }
    void Add(const std::string& command) { list = curl_slist_append(list, command.c_str()); }
};

// A file handed over: sent as its upload, then renamed in a request of its
// own and, where either failed, a request that deletes the half-written part.
struct CFtpConnection::Put {
    std::string localPath, directory, name;
    PutFinished finished;
    bool replacing = false;  // SFTP: the old file is removed before the rename
    std::string PartName() const { return "." + name + ".webquill-part"; }
};

// One easy handle and the request it carries: this connection's own, or the
// second connection's. Each has a multi handle of its own, which keeps its
// control connection between requests: in a shared one either handle could
// take up the other's control connection, and its data connections would
// then offer the TLS session of the wrong one (refused by servers that want
// each data connection to resume its own control connection's session).
struct CFtpConnection::Lane {
    CFtpConnection& owner;
    CURL* curl = nullptr;
    CURLM* multi = nullptr;
    std::vector<std::string> replies;  // server replies of the current request
    std::string body;                  // listing text of the current request
    std::size_t bodyLimit = std::numeric_limits<std::size_t>::max();  // a longer body ends the request
    char errorBuffer[CURL_ERROR_SIZE] = {};
    bool busy = false;
    CURLcode result = CURLE_OK;  // of the last request
    bool loggedIn = false;       // has carried a request through its login
    bool sent = false;           // has carried a whole upload
    int era = 0;                 // the connection's era when the request began
    bool carrying = false;       // `put` is under way here
    PutStage stage = PutStage::Upload;
    Put put;
    std::FILE* file = nullptr;
    CommandList commands;
    std::string error;  // of the failed upload, kept through the clean-up

    Lane(CFtpConnection& connection, CURL* handle) : owner(connection), curl(handle), multi(curl_multi_init()) {}
    bool Uploading() const { return busy && carrying && stage == PutStage::Upload; }
    Lane(const Lane&) = delete;
    ~Lane() {
        if (file) std::fclose(file);
        if (busy) curl_multi_remove_handle(multi, curl);
        curl_multi_cleanup(multi);
        curl_easy_cleanup(curl);
    }
    // Clears what one request set, keeping the connection's own options.
    void Reset() {
        curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
        curl_easy_setopt(curl, CURLOPT_DIRLISTONLY, 0L);
        curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
        curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, nullptr);
        curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
        curl_easy_setopt(curl, CURLOPT_POSTQUOTE, nullptr);
        curl_easy_setopt(curl, CURLOPT_READDATA, nullptr);
        curl_easy_setopt(curl, CURLOPT_SEEKDATA, nullptr);
        curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_NONE));
        curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, 0L);
        commands = CommandList();
    }
    bool RepliedWith(const char* code) const {
        return std::any_of(replies.begin(), replies.end(), [&](const std::string& r) { return r.starts_with(code); });
    }
    // The server's own words where it gave a refusal, else the library's.
    std::string ErrorText() const {
        for (auto it = replies.rbegin(); it != replies.rend(); ++it)
            if (it->size() >= 3 && (it->front() == '4' || it->front() == '5')) return *it;
        return errorBuffer[0] ? errorBuffer : curl_easy_strerror(result);
    }
};

}  // namespace webquill
