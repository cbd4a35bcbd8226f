// The upload of `webquill-publish --upload`: the dialog's Connect and Upload
// with the rule header's values, every question answered No, message-center
// texts on standard output and boxes on standard error.
#pragma once

namespace webquill {

class CQuilletDoc;
class CSettingsStore;

inline constexpr int kExitUploadFailed = 4;

// 0 when every file was sent, kExitUploadFailed otherwise. An SFTP server
// not in known_hosts is refused unless `trustNewHost`; a key's passphrase
// comes from WEBQUILL_SFTP_PASSPHRASE.
int UploadFromCommandLine(const CQuilletDoc& document, const CSettingsStore& store, bool trustNewHost = false);

}  // namespace webquill
