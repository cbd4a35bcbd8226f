// What the upload asks of the window (or program) that carries it out.
#pragma once

#include <string>

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
    virtual void PumpMessages() {}
    virtual void SetWaitCursor(bool /*on*/) {}
};

}  // namespace webquill
