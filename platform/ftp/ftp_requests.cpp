// The connection's requests that carry no upload: the working folder, a
// listing, a small file read whole, a file deleted.
#include "platform/ftp/ftp_connection.h"

#include "platform/ftp/ftp_lane.h"

namespace webquill {

namespace {

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

}  // namespace

bool CFtpConnection::ChangeDirectory(const std::string& path) {
    if (!m_connected) return false;
    Lane& lane = Idle();
    lane.commands.Add(m_sftp ? "pwd" : "PWD");
    // SFTP changes no directory: the folder's names are listed to see that it
    // is there, its path asked before (afterwards this libcurl has lost it).
    curl_easy_setopt(lane.curl, m_sftp ? CURLOPT_DIRLISTONLY : CURLOPT_NOBODY, 1L);
    curl_easy_setopt(lane.curl, m_sftp ? CURLOPT_QUOTE : CURLOPT_POSTQUOTE, lane.commands.list);
    if (!Perform(UrlFor(Absolute(path), true))) return false;
    std::string directory;
    for (const std::string& reply : lane.replies)
        if (QuotedPath(reply, directory)) m_currentDirectory = directory;
    if (m_sftp && m_currentDirectory.size() > 1 && m_currentDirectory.ends_with('/')) m_currentDirectory.pop_back();
    return true;
}

bool CFtpConnection::List(const std::string& directory, std::vector<FtpEntry>& entries) {
    entries.clear();
    if (!m_connected) return false;
    const std::string url = UrlFor(Absolute(directory), true);
    Lane& lane = Idle();
    if (m_listForm != ListForm::Plain) {
        curl_easy_setopt(lane.curl, CURLOPT_CUSTOMREQUEST, "MLSD");
        if (Perform(url)) {
            m_listForm = ListForm::Machine;
        } else if (m_listForm == ListForm::Unknown && m_lastError.compare(0, 2, "50") == 0) {
            m_listForm = ListForm::Plain;  // the server knows no MLSD
            lane.Reset();
        } else {
            return false;
        }
    }
    if (m_listForm == ListForm::Plain && !Perform(url)) return false;

    const std::string& body = lane.body;
    std::size_t at = 0;
    while (at < body.size()) {
        std::size_t end = body.find('\n', at);
        if (end == std::string::npos) end = body.size();
        std::string line = body.substr(at, end - at);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        FtpEntry entry;
        const bool parsed = m_listForm == ListForm::Machine ? ParseMachineListLine(line, entry)
                                                           : ParseListLine(line, entry);
        if (parsed && entry.name != "." && entry.name != "..") entries.push_back(std::move(entry));
        at = end + 1;
    }
    return true;
}

bool CFtpConnection::ReadSmallFile(const std::string& remotePath, std::string& bytes, long limit) {
    bytes.clear();
    if (!m_connected) return false;
    Lane& lane = Idle();
    curl_easy_setopt(lane.curl, CURLOPT_MAXFILESIZE, limit);
    lane.bodyLimit = static_cast<std::size_t>(limit);
    const bool read = Perform(UrlFor(Absolute(remotePath), false));
    lane.bodyLimit = std::numeric_limits<std::size_t>::max();
    curl_easy_setopt(lane.curl, CURLOPT_MAXFILESIZE, 0L);
    if (read) bytes = std::move(lane.body);
    return read;
}

bool CFtpConnection::RemoveFile(const std::string& remotePath) {
    if (!m_connected) return false;
    const std::string absolute = Absolute(remotePath);
    Lane& lane = Idle();
    // A failure counts here: a file that stays is not deleted.
    lane.commands.Add(m_sftp ? "rm " + SftpQuoted(absolute) : "DELE " + absolute);
    curl_easy_setopt(lane.curl, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(lane.curl, CURLOPT_QUOTE, lane.commands.list);
    return Perform(UrlFor(absolute.substr(0, absolute.rfind('/') + 1), true));
}

}  // namespace webquill
