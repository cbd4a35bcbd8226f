// What the upload asks of the window (or program) that carries it out.
#pragma once

#include <string>
#include <vector>

namespace webquill {

class IUploadHost {
public:
    virtual ~IUploadHost() = default;
    // The message center's text, shown at once (pending messages drained).
    virtual void ShowMessageCenter(const std::string& text) = 0;
    // The "Upload:" label and bar: shown with a position 0 to 100, or hidden.
    virtual void ShowProgress(bool visible, int position) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool AskYesNo(const std::string& text) = 0;
    // A message box with one OK button.
    virtual void ShowBox(const std::string& text) = 0;
    // The files a run could not send: `box` names the first of them, `all`
    // every one, in upload order.
    virtual void ShowFailures(const std::string& box, const std::vector<std::string>& /*all*/) { ShowBox(box); }
    // The plan's counts, before anything is sent.
    virtual void ShowPlan(const std::string& counts) { ShowMessageCenter(counts); }
    // The passphrase of an SFTP key file; false when none is given.
    virtual bool AskPassphrase(const std::string& /*keyFile*/, std::string& /*passphrase*/) { return false; }
    virtual void PumpMessages() {}
    virtual void SetWaitCursor(bool /*on*/) {}
};

}  // namespace webquill
