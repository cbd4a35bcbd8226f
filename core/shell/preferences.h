// The Preferences section of the settings store, with its defaults.
#pragma once

#include <string>

#include "engine/run_document.h"

namespace webquill {

class CSettingsStore;

#ifdef _WIN32
inline constexpr const char* kDefaultEditor = "notepad.exe";
#else
inline constexpr const char* kDefaultEditor = "xdg-open";
#endif
inline constexpr const char* kDefaultImageFileFilter = "*.bmp*;*.jpg*,*.gif*;*.tif*";

struct Preferences {
    std::string editor = kDefaultEditor;
    std::string webBrowser;
    bool matchCase = false;
    bool usDateDisplay = true;
    bool displayErrors = true;
    std::string imageFileFilter = kDefaultImageFileFilter;
    std::string lastPath;
    std::string previousTocInfo = "Previous Page";
    std::string thisTocInfo = "This Page";
    std::string nextTocInfo = "Next Page";
    // Uploads send only what differs from the server's manifest.
    bool uploadChangedOnly = false;
    std::string sftpKeyFile;  // empty: the user's default key and ssh-agent
};

// Absent or empty values keep their defaults.
Preferences LoadPreferences(const CSettingsStore& store);
RunSettings RunSettingsFrom(const Preferences& preferences);

}  // namespace webquill
