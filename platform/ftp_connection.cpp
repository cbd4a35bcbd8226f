#include "ftp_connection.h"

#include <curl/curl.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace webquill {

namespace {

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

CURL* Handle(void* curl) { return static_cast<CURL*>(curl); }

bool HasSocketToWaitOn(CURLM* multi) {
    fd_set read, write, error;
    FD_ZERO(&read);
    FD_ZERO(&write);
    FD_ZERO(&error);
    int highest = -1;
    return curl_multi_fdset(multi, &read, &write, &error, &highest) == CURLM_OK && highest >= 0;
}

// Owns the command lists of one request.
struct CommandList {
    curl_slist* list = nullptr;
    ~CommandList() { curl_slist_free_all(list); }
    void Add(const std::string& command) { list = curl_slist_append(list, command.c_str()); }
};

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The quoted path of a "257" reply.
bool QuotedPath(const std::string& reply, std::string& path) {
    const std::size_t open = reply.find('"');
    if (reply.compare(0, 3, "257") != 0 || open == std::string::npos) return false;
    path.clear();
    for (std::size_t i = open + 1; i < reply.size(); ++i) {
        if (reply[i] != '"') {
            path += reply[i];
        } else if (i + 1 < reply.size() && reply[i + 1] == '"') {
            path += '"';  // a doubled quote stands for one
            ++i;
        } else {
            return true;
        }
    }
    return false;
}

std::size_t SkipBlanks(const std::string& s, std::size_t at) {
    while (at < s.size() && s[at] == ' ') ++at;
    return at;
}
std::size_t SkipWord(const std::string& s, std::size_t at) {
    while (at < s.size() && s[at] != ' ') ++at;
    return at;
}

}  // namespace

struct CFtpConnection::Callbacks {
    static std::size_t Reply(char* data, std::size_t size, std::size_t count, void* self) {
        std::string line(data, size * count);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        static_cast<CFtpConnection*>(self)->m_replies.push_back(std::move(line));
        return size * count;
    }
    static std::size_t Body(char* data, std::size_t size, std::size_t count, void* self) {
        static_cast<CFtpConnection*>(self)->m_body.append(data, size * count);
        return size * count;
    }
    static std::size_t Read(char* data, std::size_t size, std::size_t count, void* file) {
        return std::fread(data, size, count, static_cast<std::FILE*>(file));
    }
    static int Seek(void* file, curl_off_t offset, int origin) {
        return std::fseek(static_cast<std::FILE*>(file), static_cast<long>(offset), origin) == 0
                   ? CURL_SEEKFUNC_OK
                   : CURL_SEEKFUNC_CANTSEEK;
    }
    static int Progress(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        auto* connection = static_cast<CFtpConnection*>(self);
        if (connection->m_options.pumpMessages) connection->m_options.pumpMessages();
        return 0;
    }
};

bool ParseFtpUrl(const std::string& text, FtpUrl& url) {
    InitCurlOnce();
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

CFtpConnection::CFtpConnection(FtpOptions options) : m_options(std::move(options)) { InitCurlOnce(); }

CFtpConnection::~CFtpConnection() {
    if (m_multi) curl_multi_cleanup(static_cast<CURLM*>(m_multi));
    if (m_curl) curl_easy_cleanup(Handle(m_curl));
}

void CFtpConnection::Reset() {
    CURL* curl = Handle(m_curl);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 0L);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 0L);
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, nullptr);
    curl_easy_setopt(curl, CURLOPT_QUOTE, nullptr);
    curl_easy_setopt(curl, CURLOPT_POSTQUOTE, nullptr);
    curl_easy_setopt(curl, CURLOPT_READDATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_SEEKDATA, nullptr);
    curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_NONE));
    m_replies.clear();
    m_body.clear();
}

bool CFtpConnection::Perform(const std::string& url) {
    CURL* curl = Handle(m_curl);
    char errorBuffer[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorBuffer);
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    // The multi interface with a 1 ms poll: libcurl 7.88 does not always wait
    // on the control connection for a reply on a reused connection (EPSV after
    // a finished upload), and its own perform loop then sleeps a whole second
    // per file. The multi handle keeps the connection between requests.
    CURLM* multi = static_cast<CURLM*>(m_multi);
    CURLcode code = CURLE_OK;
    if (curl_multi_add_handle(multi, curl) != CURLM_OK) {
        code = CURLE_FAILED_INIT;
    } else {
        int running = 1;
        bool retried = false;
        while (running) {
            if (curl_multi_perform(multi, &running) != CURLM_OK) break;
            if (!running) break;
            // Between the passive reply and the data connection libcurl has
            // no socket to wait on and would sit out the whole poll: go on.
            if (!retried && !HasSocketToWaitOn(multi)) {
                retried = true;
                continue;
            }
            retried = false;
            curl_multi_poll(multi, nullptr, 0, 1, nullptr);
        }
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &left))
            if (message->msg == CURLMSG_DONE && message->easy_handle == curl) code = message->data.result;
        curl_multi_remove_handle(multi, curl);
    }
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, nullptr);
    if (code == CURLE_OK) return true;
    // The server's own words where it gave a refusal, else the library's.
    m_lastError.clear();
    for (auto it = m_replies.rbegin(); it != m_replies.rend(); ++it) {
        if (it->size() >= 3 && (it->front() == '4' || it->front() == '5')) {
            m_lastError = *it;
            break;
        }
    }
    if (m_lastError.empty()) m_lastError = errorBuffer[0] ? errorBuffer : curl_easy_strerror(code);
    return false;
}

// `path` is absolute; empty components (as in "//dir") are dropped.
std::string CFtpConnection::UrlFor(const std::string& path, bool directory) const {
    std::string url = m_base + "/%2F";
    std::size_t at = 0;
    bool first = true;
    while (at <= path.size()) {
        std::size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        if (end > at) {
            char* escaped = curl_easy_escape(Handle(m_curl), path.data() + at, static_cast<int>(end - at));
            if (!first) url += '/';
            url += escaped;
            curl_free(escaped);
            first = false;
        }
        at = end + 1;
    }
    if (directory && !first) url += '/';
    return url;
}

std::string CFtpConnection::Absolute(const std::string& path) const {
    if (!path.empty() && path.front() == '/') return path;
    return m_currentDirectory + (m_currentDirectory.ends_with('/') ? "" : "/") + path;
}

bool CFtpConnection::Connect(const FtpUrl& url, const std::string& user, const std::string& password) {
    if (m_multi) curl_multi_cleanup(static_cast<CURLM*>(m_multi));
    if (m_curl) curl_easy_cleanup(Handle(m_curl));
    m_connected = false;
    m_listForm = ListForm::Unknown;
    m_curl = curl_easy_init();
    m_multi = curl_multi_init();
    if (!m_curl || !m_multi) {
        m_lastError = "Out of memory";
        return false;
    }
    CURL* curl = Handle(m_curl);
    m_tls = url.scheme == "ftps";
    const std::string host = url.host.find(':') != std::string::npos ? "[" + url.host + "]" : url.host;
    // ftp:// in every case: "ftps://" to libcurl would be implicit TLS, while
    // our ftps means AUTH TLS on the standard port.
    m_base = "ftp://" + host + ":" + std::to_string(url.port > 0 ? url.port : 21);

    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &Callbacks::Reply);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Callbacks::Body);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Callbacks::Read);
    curl_easy_setopt(curl, CURLOPT_SEEKFUNCTION, &Callbacks::Seek);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Callbacks::Progress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, m_options.connectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_SERVER_RESPONSE_TIMEOUT, m_options.responseTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_ACCEPTTIMEOUT_MS, m_options.connectTimeoutSeconds * 1000);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, m_options.lowSpeedSeconds);
    curl_easy_setopt(curl, CURLOPT_TRANSFERTEXT, 0L);
    if (!user.empty()) {
        curl_easy_setopt(curl, CURLOPT_USERNAME, user.c_str());
        curl_easy_setopt(curl, CURLOPT_PASSWORD, password.c_str());
    }
    if (m_tls) {
        curl_easy_setopt(curl, CURLOPT_USE_SSL, static_cast<long>(CURLUSESSL_ALL));
        // This libcurl cuts uploads short over TLS 1.3, and sends active-mode
        // data in the clear: TLS 1.2 and passive only.
        curl_easy_setopt(curl, CURLOPT_SSLVERSION,
                         static_cast<long>(CURL_SSLVERSION_TLSv1_2) | static_cast<long>(CURL_SSLVERSION_MAX_TLSv1_2));
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
        if (!m_options.caFile.empty()) curl_easy_setopt(curl, CURLOPT_CAINFO, m_options.caFile.c_str());
    } else if (m_options.activeMode) {
        curl_easy_setopt(curl, CURLOPT_FTPPORT, "-");
    }

    Reset();
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    if (!Perform(m_base + "/")) return false;
    const char* entry = nullptr;
    curl_easy_getinfo(curl, CURLINFO_FTP_ENTRY_PATH, &entry);
    m_currentDirectory = entry && *entry ? entry : "/";
    m_connected = true;
    return true;
}

bool CFtpConnection::ChangeDirectory(const std::string& path) {
    if (!m_connected) return false;
    Reset();
    CommandList after;
    after.Add("PWD");
    curl_easy_setopt(Handle(m_curl), CURLOPT_NOBODY, 1L);
    curl_easy_setopt(Handle(m_curl), CURLOPT_POSTQUOTE, after.list);
    const bool ok = Perform(UrlFor(Absolute(path), true));
    curl_easy_setopt(Handle(m_curl), CURLOPT_POSTQUOTE, nullptr);
    if (!ok) return false;
    std::string directory;
    for (const std::string& reply : m_replies)
        if (QuotedPath(reply, directory)) m_currentDirectory = directory;
    return true;
}

bool CFtpConnection::List(const std::string& directory, std::vector<FtpEntry>& entries) {
    entries.clear();
    if (!m_connected) return false;
    const std::string url = UrlFor(Absolute(directory), true);
    Reset();
    if (m_listForm != ListForm::Plain) {
        curl_easy_setopt(Handle(m_curl), CURLOPT_CUSTOMREQUEST, "MLSD");
        if (Perform(url)) {
            m_listForm = ListForm::Machine;
        } else if (m_listForm == ListForm::Unknown && m_lastError.compare(0, 2, "50") == 0) {
            m_listForm = ListForm::Plain;  // the server knows no MLSD
            Reset();
        } else {
            return false;
        }
    }
    if (m_listForm == ListForm::Plain && !Perform(url)) return false;

    std::size_t at = 0;
    while (at < m_body.size()) {
        std::size_t end = m_body.find('\n', at);
        if (end == std::string::npos) end = m_body.size();
        std::string line = m_body.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        FtpEntry entry;
        const bool parsed = m_listForm == ListForm::Machine ? ParseMachineListLine(line, entry)
                                                           : ParseListLine(line, entry);
        if (parsed && entry.name != "." && entry.name != "..") entries.push_back(std::move(entry));
        at = end + 1;
    }
    return true;
}

bool CFtpConnection::PutFile(const std::string& localPath, const std::string& remotePath) {
    if (!m_connected) return false;
    std::FILE* file = std::fopen(localPath.c_str(), "rb");
    if (!file) {
        m_lastError = "Cannot open the local file " + localPath;
        return false;
    }
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);

    const std::string absolute = Absolute(remotePath);
    const std::size_t slash = absolute.rfind('/');
    const std::string directory = absolute.substr(0, slash + 1);
    const std::string name = absolute.substr(slash + 1);
    const std::string partName = "." + name + ".webquill-part";

    Reset();
    CURL* curl = Handle(m_curl);
    CommandList rename;
    rename.Add("RNFR " + partName);
    rename.Add("RNTO " + name);
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READDATA, file);
    curl_easy_setopt(curl, CURLOPT_SEEKDATA, file);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    curl_easy_setopt(curl, CURLOPT_POSTQUOTE, rename.list);
    bool ok = size >= 0 && Perform(UrlFor(directory + partName, false));
    std::fclose(file);
    curl_easy_setopt(curl, CURLOPT_POSTQUOTE, nullptr);
    if (ok) return true;

    // Leave no half-written part behind where the server still listens.
    const std::string error = m_lastError;
    Reset();
    CommandList cleanup;
    cleanup.Add("*DELE " + partName);
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTQUOTE, cleanup.list);
    Perform(UrlFor(directory, true));
    curl_easy_setopt(curl, CURLOPT_POSTQUOTE, nullptr);
    m_lastError = error;
    return false;
}

// "type=dir;size=0;modify=...; name with blanks"
bool ParseMachineListLine(const std::string& line, FtpEntry& entry) {
    const std::size_t space = line.find(' ');
    if (space == std::string::npos || space + 1 >= line.size()) return false;
    entry.name = line.substr(space + 1);
    const std::string facts = Lower(line.substr(0, space));
    const std::size_t type = facts.find("type=");
    if (type == std::string::npos) return false;
    const std::size_t end = facts.find(';', type);
    const std::string value = facts.substr(type + 5, end == std::string::npos ? end : end - type - 5);
    if (value == "cdir" || value == "pdir") return false;
    entry.isDirectory = value == "dir";
    return true;
}

// Unix: "drwxr-xr-x 2 owner group 4096 Jan  1 12:00 name with blanks"
//       (links "name -> target" keep the name only)
// DOS:  "01-01-24  12:00PM       <DIR>          name with blanks"
bool ParseListLine(const std::string& line, FtpEntry& entry) {
    if (line.empty() || line.compare(0, 5, "total") == 0) return false;
    if (std::isdigit(static_cast<unsigned char>(line[0]))) {
        std::size_t at = SkipWord(line, 0);              // date
        at = SkipWord(line, SkipBlanks(line, at));       // time
        at = SkipBlanks(line, at);
        const std::size_t sizeEnd = SkipWord(line, at);  // "<DIR>" or the size
        entry.isDirectory = line.compare(at, sizeEnd - at, "<DIR>") == 0;
        at = SkipBlanks(line, sizeEnd);
        if (at >= line.size()) return false;
        entry.name = line.substr(at);
        return true;
    }
    std::size_t at = 0;
    for (int field = 0; field < 8; ++field) at = SkipBlanks(line, SkipWord(line, at));
    if (at >= line.size()) return false;
    entry.isDirectory = line[0] == 'd';
    entry.name = line.substr(at);
    if (line[0] == 'l') {
        const std::size_t arrow = entry.name.find(" -> ");
        if (arrow != std::string::npos) entry.name.resize(arrow);
    }
    return true;
}

}  // namespace webquill
