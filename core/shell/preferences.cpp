#include "core/shell/preferences.h"

#include <cstdlib>

#include "platform/storage/settings_store.h"

namespace webquill {

namespace {
constexpr const char* kSection = "Preferences";

void ReadText(const CSettingsStore& store, const char* name, std::string& into) {
    std::string value = store.ReadString(kSection, name);
    if (!value.empty()) into = std::move(value);
}

// Numbers are stored as "%d" text and read back with a decimal conversion.
void ReadFlag(const CSettingsStore& store, const char* name, bool& into) {
    const std::string value = store.ReadString(kSection, name);
    if (!value.empty()) into = std::atoi(value.c_str()) != 0;
}
}  // namespace

Preferences LoadPreferences(const CSettingsStore& store) {
    Preferences p;
    ReadText(store, "Editor", p.editor);
    p.webBrowser = store.ReadString(kSection, "WebBrowser");
    p.lastPath = store.ReadString(kSection, "LastPath");
    ReadText(store, "ImageFileFilter", p.imageFileFilter);
    ReadFlag(store, "DateDisplay", p.usDateDisplay);
    ReadFlag(store, "MatchCase", p.matchCase);
    ReadFlag(store, "DisplayErrors", p.displayErrors);
    ReadText(store, "PreviousTOCInfo", p.previousTocInfo);
    ReadText(store, "ThisTOCInfo", p.thisTocInfo);
    ReadText(store, "NextTOCInfo", p.nextTocInfo);
    ReadFlag(store, "UploadChangedOnly", p.uploadChangedOnly);
    p.sftpKeyFile = store.ReadString(kSection, "SftpKeyFile");
    return p;
}

RunSettings RunSettingsFrom(const Preferences& p) {
    RunSettings s;
    s.matchCase = p.matchCase;
    s.usDateDisplay = p.usDateDisplay;
    s.displayErrors = p.displayErrors;
    s.previousTocInfo = p.previousTocInfo;
    s.thisTocInfo = p.thisTocInfo;
    s.nextTocInfo = p.nextTocInfo;
    return s;
}

}  // namespace webquill
