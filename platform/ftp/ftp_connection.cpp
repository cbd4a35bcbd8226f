#include "platform/ftp/ftp_connection.h"

#include "platform/ftp/ftp_failures.h"
#include "platform/ftp/ftp_lane.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include <mutex>

namespace webquill {

namespace {

void InitCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// Adds the sockets libcurl asks to wait on; returns how many.
int AddSocketsToWaitOn(CURLM* multi, std::vector<curl_waitfd>& sockets) {
    fd_set read, write, error;
    FD_ZERO(&read);
    FD_ZERO(&write);
    FD_ZERO(&error);
    int highest = -1;
    if (curl_multi_fdset(multi, &read, &write, &error, &highest) != CURLM_OK) return 0;
    int count = 0;
    for (int fd = 0; fd <= highest; ++fd) {
        const short events = static_cast<short>((FD_ISSET(fd, &read) ? CURL_WAIT_POLLIN : 0) |
                                                (FD_ISSET(fd, &write) ? CURL_WAIT_POLLOUT : 0) |
                                                (FD_ISSET(fd, &error) ? CURL_WAIT_POLLPRI : 0));
        if (events == 0) continue;
        sockets.push_back({fd, events, 0});
        ++count;
    }
    return count;
}

}  // namespace

struct CFtpConnection::Callbacks {
    static std::size_t Reply(char* data, std::size_t size, std::size_t count, void* lane) {
        std::string line(data, size * count);
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        static_cast<Lane*>(lane)->replies.push_back(std::move(line));
        return size * count;
    }
    static std::size_t Body(char* data, std::size_t size, std::size_t count, void* lane) {
        Lane& to = *static_cast<Lane*>(lane);
        // A server that announces no size (or a false one) cannot fill memory.
        if (size * count > to.bodyLimit - to.body.size()) return 0;
        to.body.append(data, size * count);
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
    // Also called once a second while libcurl waits, blocking, for the
    // reply to a finished upload: a halt meanwhile ends that wait.
    static int Progress(void* data, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        const Lane& lane = *static_cast<Lane*>(data);
        const FtpOptions& options = lane.owner.m_options;
        if (options.pumpMessages) options.pumpMessages();
        return lane.Uploading() && lane.owner.Halted() != Halt::None ? 1 : 0;
    }
    static void Attach(Lane& lane) {
        curl_easy_setopt(lane.curl, CURLOPT_HEADERDATA, &lane);
        curl_easy_setopt(lane.curl, CURLOPT_WRITEDATA, &lane);
        curl_easy_setopt(lane.curl, CURLOPT_XFERINFODATA, &lane);
    }
};

CFtpConnection::CFtpConnection(FtpOptions options) : m_options(std::move(options)) { InitCurlOnce(); }

CFtpConnection::~CFtpConnection() { Close(); }

// Drops the connections; files still under way end without an outcome.
void CFtpConnection::Close() {
    for (auto& lane : m_lanes) lane.reset();
    m_waiting.clear();
    m_madeDirectories.clear();
    m_sftpNames.Clear();
    m_secondRefused = false;
    m_connected = false;
    m_lost = false;
    m_strikes = 0;
}

// This connection's own handle, once every file under way has its outcome.
CFtpConnection::Lane& CFtpConnection::Idle() {
    FinishPuts();
    m_lanes[0]->Reset();
    return *m_lanes[0];
}

void CFtpConnection::Start(Lane& lane, const std::string& url) {
    lane.replies.clear();
    lane.body.clear();
    lane.errorBuffer[0] = '\0';
    curl_easy_setopt(lane.curl, CURLOPT_ERRORBUFFER, lane.errorBuffer);
    curl_easy_setopt(lane.curl, CURLOPT_URL, url.c_str());
    lane.busy = true;
    lane.era = m_era;
    if (!lane.multi || curl_multi_add_handle(lane.multi, lane.curl) != CURLM_OK) {
        lane.result = CURLE_FAILED_INIT;
        Ended(lane);
    }
}

// Drives the requests under way until one ends, or for one short poll. The
// multi interface with a 1 ms poll: libcurl 7.88 does not always wait on the
// control connection for a reply on a reused connection (EPSV after a
// finished upload), and its own perform loop then sleeps a whole second per
// file.
void CFtpConnection::Step() {
    std::vector<std::pair<Lane*, CURLcode>> ended;
    std::vector<Lane*> busy;
    // A halt abandons the uploads under way; renames and clean-ups finish.
    const bool halted = Halted() != Halt::None;
    for (auto& lane : m_lanes) {
        if (!lane || !lane->busy) continue;
        busy.push_back(lane.get());
        if (halted && lane->Uploading()) {
            ended.emplace_back(lane.get(), CURLE_ABORTED_BY_CALLBACK);
            continue;
        }
        int running = 0;
        const bool performed = curl_multi_perform(lane->multi, &running) == CURLM_OK;
        bool reported = false;
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(lane->multi, &left)) {
            if (message->msg != CURLMSG_DONE) continue;
            ended.emplace_back(lane.get(), message->data.result);
            reported = true;
        }
        // A multi handle that fails, or loses its request, ends it.
        if (!reported && (!performed || running == 0)) ended.emplace_back(lane.get(), CURLE_FAILED_INIT);
    }
    for (const auto& [lane, code] : ended) {
        curl_multi_remove_handle(lane->multi, lane->curl);
        lane->result = code;
        Ended(*lane);
    }
    if (!ended.empty() || busy.empty()) return;
    // Between the passive reply and the data connection libcurl has no
    // socket to wait on and would sit out the whole poll: go on at once.
    std::vector<curl_waitfd> others;
    bool silent = AddSocketsToWaitOn(busy[0]->multi, others) == 0;
    others.clear();
    for (std::size_t i = 1; i < busy.size(); ++i) silent = AddSocketsToWaitOn(busy[i]->multi, others) == 0 || silent;
    if (!m_pollSkipped && silent) {
        m_pollSkipped = true;
        return;
    }
    m_pollSkipped = false;
    curl_multi_poll(busy[0]->multi, others.data(), static_cast<unsigned>(others.size()), 1, nullptr);
}

bool CFtpConnection::Perform(const std::string& url) {
    Lane& lane = *m_lanes[0];
    Start(lane, url);
    while (lane.busy) Step();
    if (lane.result == CURLE_OK) return true;
    m_lastError = lane.ErrorText();
    return false;
}

void CFtpConnection::Ended(Lane& lane) {
    lane.busy = false;
    if (!lane.carrying) return;
    const bool ok = lane.result == CURLE_OK;
    switch (lane.stage) {
    case PutStage::Upload: {
        std::fclose(lane.file);
        lane.file = nullptr;
        const bool login = lane.RepliedWith("230");
        // The server takes no second login for this user, or no TLS data
        // connection from it: on with one.
        const bool refused = (!login && !lane.loggedIn) || (m_tls && IsTlsRefusal(lane.result, lane.replies));
        if (!ok && refused && !lane.sent && &lane == m_lanes[1].get()) {
            m_secondRefused = true;
            lane.carrying = false;
            m_waiting.push_front(std::move(lane.put));
            return;
        }
        lane.loggedIn = lane.loggedIn || ok || login;
        lane.sent = lane.sent || ok;
        CountConnectionFailure(lane);
        if (ok) {
            Put& put = lane.put;
            const std::string part = put.directory + put.PartName(), final = put.directory + put.name;
            put.replacing = m_sftp && m_sftpNames.Holds(put.directory, put.name);
            return SendCommands(lane, PutStage::Rename,
                                m_sftp ? SftpRenameOver(part, final, put.replacing)
                                       : std::vector<std::string>{"RNFR " + part, "RNTO " + final});
        }
        break;
    }
    case PutStage::Rename:
        if (ok) return EndPut(lane, true, {});
        // The name was taken after the folder was looked at: the old file goes first.
        if (m_sftp && lane.result == CURLE_QUOTE_ERROR && !lane.put.replacing) {
            lane.put.replacing = true;
            const std::string part = lane.put.directory + lane.put.PartName();
            return SendCommands(lane, PutStage::Rename, SftpRenameOver(part, lane.put.directory + lane.put.name, true));
        }
        CountConnectionFailure(lane);
        break;
    case PutStage::Clean:
        CountConnectionFailure(lane);
        return EndPut(lane, false, lane.error);
    }
    if (lane.result != CURLE_ABORTED_BY_CALLBACK) lane.error = lane.ErrorText();
    else lane.error = Halted() == Halt::Lost ? kConnectionLostText : kUploadStoppedText;
    // Leave no half-written part behind where the server still listens; a
    // lost server would only run out the time limit once more.
    if (m_lost) return EndPut(lane, false, lane.error);
    const std::string part = lane.put.directory + lane.put.PartName();
    SendCommands(lane, PutStage::Clean, m_sftp ? SftpRemove(part) : std::vector<std::string>{"*DELE " + part});
}

// A timeout, a reset or a lost connection: the next request on a fresh
// connection is the one reconnection attempt; it failing the same way ends
// every file still to come. A file sent since puts the count back.
void CFtpConnection::CountConnectionFailure(const Lane& lane) {
    if (lane.result == CURLE_OK) {
        if (lane.stage == PutStage::Upload && lane.era == m_era) m_strikes = 0;
        return;
    }
    if (!IsConnectionFailure(lane.result)) return;
    // Requests begun before the last such failure tell nothing new.
    if (lane.era != m_era) return;
    ++m_era;
    if (++m_strikes >= 2) m_lost = true;
}

CFtpConnection::Halt CFtpConnection::Halted() const {
    if (m_lost) return Halt::Lost;
    return m_options.stopRequested && m_options.stopRequested() ? Halt::Stopped : Halt::None;
}

// Commands ahead of a request that transfers nothing: libcurl runs them
// without blocking, where commands after a transfer would hold up the other
// connection until their replies come. They run before the request's change
// of directory, on whichever connection is free: absolute paths only.
void CFtpConnection::SendCommands(Lane& lane, PutStage stage, const std::vector<std::string>& commands) {
    lane.stage = stage;
    lane.Reset();
    for (const std::string& command : commands) lane.commands.Add(command);
    curl_easy_setopt(lane.curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(lane.curl, CURLOPT_QUOTE, lane.commands.list);
    // After a stop the clean-up must not hold the user up.
    if (stage == PutStage::Clean && Halted() == Halt::Stopped) curl_easy_setopt(lane.curl, CURLOPT_TIMEOUT_MS, 2000L);
    Start(lane, UrlFor(lane.put.directory, true));
}

void CFtpConnection::EndPut(Lane& lane, bool ok, const std::string& error) {
    lane.carrying = false;
    const PutFinished finished = std::move(lane.put.finished);
    if (finished) finished(ok, error);
}

CFtpConnection::Lane* CFtpConnection::FreeLane() {
    if (!m_lanes[0]->busy) return m_lanes[0].get();
    if (m_secondRefused) return nullptr;
    if (!m_lanes[1]) {
        // The same login, time limits and TLS rules as this connection's.
        CURL* copy = curl_easy_duphandle(m_lanes[0]->curl);
        if (!copy) {
            m_secondRefused = true;
            return nullptr;
        }
        m_lanes[1] = std::make_unique<Lane>(*this, copy);
        Callbacks::Attach(*m_lanes[1]);
    }
    return m_lanes[1]->busy ? nullptr : m_lanes[1].get();
}

void CFtpConnection::StartWaiting() {
    while (!m_waiting.empty() && Halted() != Halt::None) {
        Put put = std::move(m_waiting.front());
        m_waiting.pop_front();
        if (put.finished) put.finished(false, Halted() == Halt::Lost ? kConnectionLostText : kUploadStoppedText);
    }
    while (!m_waiting.empty()) {
        Lane* lane = FreeLane();
        if (!lane) return;
        lane->put = std::move(m_waiting.front());
        m_waiting.pop_front();
        StartPut(*lane);
    }
}

void CFtpConnection::StartPut(Lane& lane) {
    lane.carrying = true;
    lane.stage = PutStage::Upload;
    lane.file = std::fopen(lane.put.localPath.c_str(), "rb");
    long size = -1;
    if (lane.file && std::fseek(lane.file, 0, SEEK_END) == 0) size = std::ftell(lane.file);
    if (size < 0 || std::fseek(lane.file, 0, SEEK_SET) != 0) {
        if (lane.file) std::fclose(lane.file);
        lane.file = nullptr;
        return EndPut(lane, false, "Cannot open the local file " + lane.put.localPath);
    }
    lane.Reset();
    CURL* curl = lane.curl;
    curl_easy_setopt(curl, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(curl, CURLOPT_READDATA, lane.file);
    curl_easy_setopt(curl, CURLOPT_SEEKDATA, lane.file);
    curl_easy_setopt(curl, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size));
    curl_easy_setopt(curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
    Start(lane, UrlFor(lane.put.directory + lane.put.PartName(), false));
}

// `path` is absolute; empty components (as in "//dir") are dropped.
std::string CFtpConnection::UrlFor(const std::string& path, bool directory) const {
    // An sftp:// path is absolute as it stands.
    std::string url = m_base + (m_sftp ? "/" : "/%2F");
    std::size_t at = 0;
    bool first = true;
    while (at <= path.size()) {
        std::size_t end = path.find('/', at);
        if (end == std::string::npos) end = path.size();
        if (end > at) {
            char* escaped = curl_easy_escape(m_lanes[0]->curl, path.data() + at, static_cast<int>(end - at));
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
    Close();
    m_listForm = ListForm::Unknown;
    CURL* curl = curl_easy_init();
    if (curl) m_lanes[0] = std::make_unique<Lane>(*this, curl);
    if (!curl || !m_lanes[0]->multi) {
        m_lanes[0].reset();
        m_lastError = "Out of memory";
        return false;
    }
    m_tls = url.scheme == "ftps";
    m_sftp = url.scheme == "sftp";
    const std::string host = url.host.find(':') != std::string::npos ? "[" + url.host + "]" : url.host;
    // ftp:// for both FTP forms: "ftps://" to libcurl would be implicit TLS,
    // while our ftps means AUTH TLS on the standard port.
    const int port = url.port > 0 ? url.port : m_sftp ? 22 : 21;
    m_base = (m_sftp ? "sftp://" : "ftp://") + host + ":" + std::to_string(port);
    m_withPassword = m_sftp && !password.empty();
    if (m_sftp) {
        m_hostCheck = ApplySftpLogin(curl, m_options.sftp, m_withPassword, KnownHostsName(url.host, port));
        m_listForm = ListForm::Plain;  // libcurl gives "ls -l" lines
    }

    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, &Callbacks::Reply);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &Callbacks::Body);
    Callbacks::Attach(*m_lanes[0]);
    curl_easy_setopt(curl, CURLOPT_READFUNCTION, &Callbacks::Read);
    curl_easy_setopt(curl, CURLOPT_SEEKFUNCTION, &Callbacks::Seek);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &Callbacks::Progress);
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
        // This libcurl waits for a transfer's final reply blocking; with the
        // server connecting back to the other connection meanwhile, that
        // wait can last the server's whole data timeout: one connection.
        m_secondRefused = true;
    }

    Lane& lane = Idle();
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    if (!Perform(m_base + "/")) {
        if (m_sftp) m_lastError = SftpRefusal(*m_hostCheck, lane.result, m_options.sftp, m_withPassword, m_lastError);
        return false;
    }
    lane.loggedIn = true;
    const char* entry = nullptr;
    curl_easy_getinfo(curl, CURLINFO_FTP_ENTRY_PATH, &entry);
    m_currentDirectory = entry && *entry ? entry : "/";
    m_connected = true;
    return true;
}

bool CFtpConnection::PutFile(const std::string& localPath, const std::string& remotePath) {
    bool sent = false;
    BeginPut(localPath, remotePath, [&](bool ok, const std::string& error) {
        sent = ok;
        if (!ok) m_lastError = error;
    });
    FinishPuts();
    return sent;
}

void CFtpConnection::BeginPut(const std::string& localPath, const std::string& remotePath, PutFinished finished) {
    if (!m_connected) return finished(false, "Not connected");
    if (Halted() == Halt::Lost) return finished(false, kConnectionLostText);
    if (Halted() == Halt::Stopped) return finished(false, kUploadStoppedText);
    const std::string absolute = Absolute(remotePath);
    const std::size_t slash = absolute.rfind('/');
    Put put{localPath, absolute.substr(0, slash + 1), absolute.substr(slash + 1), std::move(finished)};
    if (m_madeDirectories.insert(put.directory).second) {
        // Made once, before either connection needs it; where that fails,
        // the upload's own reply tells.
        Lane& lane = Idle();
        curl_easy_setopt(lane.curl, CURLOPT_NOBODY, 1L);
        curl_easy_setopt(lane.curl, CURLOPT_FTP_CREATE_MISSING_DIRS, static_cast<long>(CURLFTP_CREATE_DIR_RETRY));
        if (m_sftp) {
            // Made, then its names listed: which pages are there to replace.
            for (const std::string& command : SftpMakeDirectories(put.directory)) lane.commands.Add(command);
            curl_easy_setopt(lane.curl, CURLOPT_QUOTE, lane.commands.list);
            curl_easy_setopt(lane.curl, CURLOPT_NOBODY, 0L);
            curl_easy_setopt(lane.curl, CURLOPT_DIRLISTONLY, 1L);
        }
        if (Perform(UrlFor(put.directory, true)) && m_sftp) m_sftpNames.Listed(put.directory, lane.body);
    }
    m_waiting.push_back(std::move(put));
    while (!m_waiting.empty()) {
        StartWaiting();
        if (!m_waiting.empty()) Step();
    }
}

void CFtpConnection::FinishPuts() {
    for (;;) {
        StartWaiting();
        const bool busy = std::any_of(std::begin(m_lanes), std::end(m_lanes),
                                      [](const std::unique_ptr<Lane>& lane) { return lane && lane->busy; });
        if (!busy) return;
        Step();
    }
}

int CFtpConnection::PutConnections() const { return m_lanes[1] && m_lanes[1]->loggedIn ? 2 : 1; }

}  // namespace webquill
