// The login of an sftp:// connection: the password, or a key file and its
// passphrase, or the user's own keys and ssh-agent; the host key checked
// against known_hosts; new files and folders left to the server's umask.
#pragma once

#include <memory>
#include <string>

#include "platform/ftp/sftp_host_key.h"

namespace webquill {

struct SftpOptions {
    std::string keyFile;         // empty: the user's default key, then ssh-agent
    std::string passphrase;      // of the key file, where it has one
    std::string knownHostsFile;  // empty: ~/.ssh/known_hosts
    CSftpHostCheck::TrustQuestion trustNewHost;
};

// `name` in the user's ~/.ssh folder.
std::string UserSshFile(const std::string& name);
// The key file a login without a password offers: the one named, else the
// first of the user's id_ed25519, id_ecdsa, id_rsa and id_dsa; empty: none.
std::string SftpKeyFileToUse(const SftpOptions& options);
// True for a private key file stored encrypted (OpenSSH's own form or PEM).
bool KeyNeedsPassphrase(const std::string& keyFile);

// Sets the login and the host check of the server `hostName` (as
// known_hosts names it) on `curl` (a CURL handle and the copies made of it,
// which point to the check returned). A password logs in with it alone, so
// that a wrong one is never covered by a key.
std::unique_ptr<CSftpHostCheck> ApplySftpLogin(void* curl, const SftpOptions& options, bool withPassword,
                                               const std::string& hostName);
// Why the login failed with `code` (a CURLcode), in the user's terms: the
// host key, the password or the key; else `otherwise`, the library's text.
std::string SftpRefusal(const CSftpHostCheck& check, int code, const SftpOptions& options, bool withPassword,
                        const std::string& otherwise);

}  // namespace webquill
