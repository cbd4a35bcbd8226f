// The SSH server's host key, checked against OpenSSH's known_hosts file so
// that keys the user already trusts with ssh are trusted here too.
#pragma once

#include <functional>
#include <string>

namespace webquill {

// How OpenSSH names a server in known_hosts: "host", or "[host]:port" off port 22.
std::string KnownHostsName(const std::string& host, int port);
// "SHA256:" and the unpadded base64 of the key blob's SHA-256, as ssh shows it.
std::string HostKeyFingerprint(const std::string& blob);
// The key's algorithm as ssh shows it: "ED25519", "ECDSA", "RSA", "DSA".
std::string HostKeyTypeName(const std::string& blob);
// Appends "name algorithm base64" to `file`, making it (and its folder,
// private) when missing. Appended, never rewritten: the user's other entries
// stay as they are.
bool AddKnownHost(const std::string& file, const std::string& name, const std::string& blob);

// The decision libcurl asks for once it has looked the server up in the file.
class CSftpHostCheck {
public:
    enum class Outcome { Unchecked, Known, Trusted, Unknown, Changed, NotAdded };
    // Asked about a key the file does not hold; true trusts it. Unset: refused.
    using TrustQuestion = std::function<bool(const std::string& question)>;

    CSftpHostCheck(std::string file, std::string name, TrustQuestion trust)
        : m_file(std::move(file)), m_name(std::move(name)), m_trust(std::move(trust)) {}

    const std::string& File() const { return m_file; }
    Outcome Result() const { return m_outcome; }
    // Why the connection was refused; empty when the key was not the reason.
    std::string RefusalText() const;
    enum class Match { Same, Different, Missing };
    // Once the server's key `blob` has been looked up: true lets the login go on.
    bool Accept(Match match, const std::string& blob);

private:
    std::string m_file, m_name;
    TrustQuestion m_trust;
    Outcome m_outcome = Outcome::Unchecked;
    std::string m_key;  // "TYPE SHA256:..." of the server's key
};

}  // namespace webquill
