// The upload of `webquill-publish --upload`: the dialog's Connect and Upload
// with the rule header's values, every question answered No, message-center
// texts on standard output and boxes on standard error.
#pragma once

#include "core/upload/upload_plan.h"

namespace webquill {

class CQuilletDoc;
class CSettingsStore;

inline constexpr int kExitUploadFailed = 4;

// 0 when every file was sent (for a dry run: the plan was made),
// kExitUploadFailed otherwise. The store's UploadChangedOnly turns
// `changedOnly` on as the desktop's preference does. An SFTP server not in
// known_hosts is refused unless `trustNewHost`; a key's passphrase comes
// from WEBQUILL_SFTP_PASSPHRASE.
int UploadFromCommandLine(const CQuilletDoc& document, const CSettingsStore& store, UploadChoices choices = {},
                          bool trustNewHost = false);

}  // namespace webquill
