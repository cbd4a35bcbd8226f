#include "platform/ftp/sftp_host_key.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <filesystem>
#include <fstream>

namespace webquill {

namespace {

QByteArray Bytes(const std::string& text) { return QByteArray(text.data(), static_cast<qsizetype>(text.size())); }

// The algorithm name that opens a key blob: a 32-bit length, then the name.
std::string Algorithm(const std::string& blob) {
    if (blob.size() < 4) return {};
    const auto byte = [&](int i) { return static_cast<std::size_t>(static_cast<unsigned char>(blob[i])); };
    const std::size_t length = byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
    return length <= blob.size() - 4 ? blob.substr(4, length) : std::string();
}

}  // namespace

std::string KnownHostsName(const std::string& host, int port) {
    return port == 22 || port <= 0 ? host : "[" + host + "]:" + std::to_string(port);
}

std::string HostKeyFingerprint(const std::string& blob) {
    const QByteArray digest = QCryptographicHash::hash(Bytes(blob), QCryptographicHash::Sha256);
    return "SHA256:" + digest.toBase64(QByteArray::OmitTrailingEquals).toStdString();
}

std::string HostKeyTypeName(const std::string& blob) {
    const std::string algorithm = Algorithm(blob);
    if (algorithm == "ssh-ed25519") return "ED25519";
    if (algorithm.starts_with("ecdsa-")) return "ECDSA";
    if (algorithm == "ssh-rsa") return "RSA";
    if (algorithm == "ssh-dss") return "DSA";
    return algorithm.empty() ? "unknown" : algorithm;
}

bool AddKnownHost(const std::string& file, const std::string& name, const std::string& blob) {
    namespace fs = std::filesystem;
    const std::string algorithm = Algorithm(blob);
    if (algorithm.empty()) return false;
    const fs::path path(file);
    std::error_code error;
    if (path.has_parent_path() && !fs::exists(path.parent_path(), error)) {
        if (!fs::create_directories(path.parent_path(), error)) return false;
        fs::permissions(path.parent_path(), fs::perms::owner_all, error);
    }
    const bool existed = fs::exists(path, error);
    // A last line without its line feed must not run into ours.
    bool endsInLine = true;
    if (existed && fs::file_size(path, error) > 0) {
        std::ifstream in(path, std::ios::binary);
        in.seekg(-1, std::ios::end);
        endsInLine = in.get() == '\n';
    }
    std::ofstream out(path, std::ios::binary | std::ios::app);
    if (!existed) fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write, error);
    out << (endsInLine ? "" : "\n") << name << ' ' << algorithm << ' ' << Bytes(blob).toBase64().toStdString()
        << '\n';
    out.close();
    return static_cast<bool>(out);
}

bool CSftpHostCheck::Accept(Match match, const std::string& blob) {
    m_key = HostKeyTypeName(blob) + " key " + HostKeyFingerprint(blob);
    if (match == Match::Same) return m_outcome = Outcome::Known, true;
    if (match == Match::Different) return m_outcome = Outcome::Changed, false;
    const std::string question = "The server " + m_name + " is not known yet. Its " + m_key +
                                 ".\n\nDo you trust this server? Yes adds its key to " + m_file + ".";
    if (!m_trust || !m_trust(question)) return m_outcome = Outcome::Unknown, false;
    if (!AddKnownHost(m_file, m_name, blob)) return m_outcome = Outcome::NotAdded, false;
    return m_outcome = Outcome::Trusted, true;
}

std::string CSftpHostCheck::RefusalText() const {
    switch (m_outcome) {
    case Outcome::Changed:
        return "The server's host key has CHANGED: " + m_name + " now shows the " + m_key +
               ", which is not the key " + m_file +
               " holds for it. Someone may be posing as the server; the connection was refused.";
    case Outcome::Unknown:
        return "The server " + m_name + " is not known (its " + m_key + "); the connection was refused.";
    case Outcome::NotAdded:
        return "The server's key could not be added to " + m_file + "; the connection was refused.";
    default:
        return {};
    }
}

}  // namespace webquill
