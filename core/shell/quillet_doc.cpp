#include "core/shell/quillet_doc.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>

#include "engine/password_scrambling.h"
#include "core/shell/preferences.h"
#include "core/shell/saved_log.h"
#include "platform/storage/settings_store.h"
#include "core/shell/version_info.h"

namespace webquill {

namespace {

constexpr const char* kRuleFilesSection = "Recent Rule Files";
constexpr const char* kFtpUrlSection = "Recent Ftp Urls";
constexpr const char* kFtpStartDirSection = "Recent Ftp Start Dirs";
constexpr const char* kFtpUserIdSection = "Recent Ftp UIDs";
constexpr const char* kFtpPasswordSection = "Recent Ftp UPWs";
constexpr int kRuleFileReadLimit = 100;
constexpr int kFtpRowReadLast = 40;
constexpr std::size_t kProgressEveryLines = 300;

constexpr const char* kOpenFailed = "Failed to open document.";
constexpr const char* kCloseGuard =
    "Currently processing file.  Won't CLOSE until processing is COMPLETE!\n";

std::string Numbered(const char* stem, std::size_t number) {
    return stem + std::to_string(number);
}

// The store holds text, and a scrambled password is bytes above 127 that
// are rarely valid UTF-8; each byte goes in as one character of its own code
// so that the password comes back byte for byte.
std::string BytesAsStoreText(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size() * 2);
    for (const unsigned char c : bytes) {
        if (c < 0x80) {
            text += static_cast<char>(c);
        } else {
            text += static_cast<char>(0xC0 | (c >> 6));
            text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return text;
}

// The inverse; a value that is not one character per byte (typed into the
// store by hand) is taken as it stands.
std::string StoreTextAsBytes(const std::string& text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            bytes += static_cast<char>(c);
            continue;
        }
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0u;
        if ((c != 0xC2 && c != 0xC3) || (next & 0xC0) != 0x80) return text;
        bytes += static_cast<char>(((c & 0x03) << 6) | (next & 0x3F));
        ++i;
    }
    return bytes;
}

std::string NamePart(const std::string& path) {
    const std::size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string NotTextMessage(const std::string& path) {
    return "File " + path + ":\nis NOT a text file!\n";
}

// Two wordings: the first-block check has a blank before "contains", the
// check of each line has none.
std::string FirstLineTooLongMessage(const std::string& path) {
    return "File " + path + ":\n contains lines longer than " + std::to_string(kSavedLogLineLimit) +
           " characters\nwhich is this application's max!\n";
}

std::string LineTooLongMessage(const std::string& path) {
    return "File " + path + ":\ncontains lines longer than " + std::to_string(kSavedLogLineLimit) +
           " characters\nwhich is this application's max!\n";
}

void ShowReadProgress(IDocumentHost* host, const std::string& name, int percent) {
    if (!host) return;
    host->ShowStatusPanes("Reading -> " + name,
                          percent >= 0 ? "File " + std::to_string(percent) + " %processed" : "");
    host->PumpMessages();
}

void ShowReady(IDocumentHost* host) {
    if (!host) return;
    host->ShowStatusPanes("Ready", "");
    host->PumpMessages();
}

void SetWaitCursor(IDocumentHost* host, bool on) {
    if (host) host->SetWaitCursor(on);
}

}  // namespace

CQuilletDoc::CQuilletDoc(CSettingsStore& store) : m_store(store) {}

void CQuilletDoc::LoadSettings(std::string* aboutText) {
    // A fresh document: nothing of an earlier content survives.
    ClearLists();
    longestLineLength = 0;
    lineLimitReached = false;
    modified = false;

    if (aboutText && aboutText->empty()) *aboutText = CVersionInfo().AboutText();

    const Preferences preferences = LoadPreferences(m_store);
    editorProgram = preferences.editor;
    webBrowserProgram = preferences.webBrowser;
    LoadRecentRuleFiles();
    LoadRecentFtpRows();
    lastPath = preferences.lastPath;
    imageFileFilter = preferences.imageFileFilter;
    settings = RunSettingsFrom(preferences);
}

void CQuilletDoc::LoadRecentRuleFiles() {
    recentRuleFiles.clear();
    for (int i = 1; i <= kRuleFileReadLimit; ++i) {
        std::string path = m_store.ReadString(kRuleFilesSection, Numbered("RuleFile", i));
        if (path.empty()) break;
        recentRuleFiles.push_back(std::move(path));
    }
}

void CQuilletDoc::LoadRecentFtpRows() {
    recentFtpRows.clear();
    for (int i = 0; i <= kFtpRowReadLast; ++i) {
        FtpRow row;
        row.url = m_store.ReadString(kFtpUrlSection, Numbered("FtpUrl", i));
        if (row.url.empty()) break;
        recentFtpRows.push_back(std::move(row));
    }
    for (std::size_t i = 0; i < recentFtpRows.size(); ++i)
        recentFtpRows[i].startDirectory = m_store.ReadString(kFtpStartDirSection, Numbered("FtpStDir", i));
    for (std::size_t i = 0; i < recentFtpRows.size(); ++i)
        recentFtpRows[i].userId = m_store.ReadString(kFtpUserIdSection, Numbered("FtpUID", i));
    for (std::size_t i = 0; i < recentFtpRows.size(); ++i)
        recentFtpRows[i].password = UnscramblePassword(
            StoreTextAsBytes(m_store.ReadString(kFtpPasswordSection, Numbered("FtpUPW", i))));
}

void CQuilletDoc::WriteRecentRuleFiles() {
    for (std::size_t i = 0; i < recentRuleFiles.size(); ++i)
        m_store.WriteString(kRuleFilesSection, Numbered("RuleFile", i + 1), recentRuleFiles[i]);
}

void CQuilletDoc::WriteRecentFtpRows() {
    for (std::size_t i = 0; i < recentFtpRows.size(); ++i) {
        const FtpRow& row = recentFtpRows[i];
        m_store.WriteString(kFtpUrlSection, Numbered("FtpUrl", i), row.url);
        m_store.WriteString(kFtpStartDirSection, Numbered("FtpStDir", i), row.startDirectory);
        m_store.WriteString(kFtpUserIdSection, Numbered("FtpUID", i), row.userId);
        // A password the scrambling would give back changed is not remembered:
        // an empty one asks the user again, a changed one fails the login.
        const std::string& password = IsStorablePassword(row.password) ? row.password : std::string();
        m_store.WriteString(kFtpPasswordSection, Numbered("FtpUPW", i), BytesAsStoreText(ScramblePassword(password)));
    }
}

void CQuilletDoc::AddRecentRuleFile(const std::string& path) {
    const auto found = std::find(recentRuleFiles.begin(), recentRuleFiles.end(), path);
    if (found != recentRuleFiles.end()) {
        recentRuleFiles.erase(found);
        recentRuleFiles.insert(recentRuleFiles.begin(), path);
    } else {
        const bool full = recentRuleFiles.size() >= kRecentRuleFileLimit;
        recentRuleFiles.insert(recentRuleFiles.begin(), path);
        if (full) recentRuleFiles.pop_back();
    }
    WriteRecentRuleFiles();
}

void CQuilletDoc::AddRecentFtpRow(const FtpRow& row) {
    const auto found = std::find_if(recentFtpRows.begin(), recentFtpRows.end(), [&](const FtpRow& r) {
        return r.url == row.url && r.startDirectory == row.startDirectory;
    });
    if (found != recentFtpRows.end()) recentFtpRows.erase(found);
    recentFtpRows.insert(recentFtpRows.begin(), row);
    if (recentFtpRows.size() > kRecentFtpRowLimit)
        recentFtpRows.erase(recentFtpRows.begin() + kRecentFtpRowLimit);
    WriteRecentFtpRows();
}

void CQuilletDoc::ClearLists() {
    logLines.clear();
    commands.Clear();
    wrappers.Clear();
}

DocumentFileResult CQuilletDoc::OpenSavedLog(const std::string& path, bool commandLineFileFlag,
                                             IDocumentHost* host, std::string* aboutText) {
    LoadSettings(aboutText);
    ruleFilePath = path;
    ruleFileNamedOnCommandLine = commandLineFileFlag;
    if (commandLineFileFlag) return {};
    m_reading = true;
    DocumentFileResult result = ReadSavedLog(path, host);
    m_reading = false;
    return result;
}

DocumentFileResult CQuilletDoc::ReadSavedLog(const std::string& path, IDocumentHost* host) {
    std::error_code error;
    if (std::filesystem::is_directory(path, error))
        return {DocumentFileResult::Kind::FileError, kOpenFailed};
    std::ifstream file(path, std::ios::binary);
    if (!file) return {DocumentFileResult::Kind::FileError, kOpenFailed};
    file.seekg(0, std::ios::end);
    const std::streamoff end = file.tellg();
    file.seekg(0, std::ios::beg);
    if (end < 0 || !file) return {DocumentFileResult::Kind::FileError, kOpenFailed};

    const auto length = static_cast<std::uint64_t>(end);
    const std::uint64_t blockSize = m_blockSize;
    const std::uint64_t blocks =
        length < blockSize ? 1 : length / blockSize + (length % blockSize ? 1 : 0);
    const bool manyBlocks = blocks > 1;
    const std::string name = NamePart(path);
    if (manyBlocks) ShowReadProgress(host, name, 0);

    modified = true;
    loadedLog = true;
    SetWaitCursor(host, true);

    const std::size_t bufferBlock = static_cast<std::size_t>(blocks == 1 ? length : blockSize);
    std::unique_ptr<char[]> buffer(new char[bufferBlock + 2]);

    auto fail = [&](DocumentFileResult::Kind kind, std::string message) {
        SetWaitCursor(host, false);
        loadedLog = false;
        ClearLists();
        longestLineLength = 0;
        // Nothing of the file remains, so there is nothing to save either.
        modified = false;
        return DocumentFileResult{kind, std::move(message)};
    };

    bool lfOnly = false;
    std::string heldBack;  // text after the last line feed of the blocks so far
    std::uint64_t characters = 0;

    auto takeLine = [&](std::string&& line) {
        characters += line.size();
        longestLineLength = std::max(longestLineLength, line.size());
        if (line.empty() || logLines.size() >= kMaxLogLines) return;
        logLines.push_back(std::move(line));
        if (manyBlocks && logLines.size() % kProgressEveryLines == 0)
            ShowReadProgress(host, name, static_cast<int>(characters * 100 / length));
    };

    for (std::uint64_t block = 0; block < blocks; ++block) {
        const auto size = static_cast<std::size_t>(
            block + 1 == blocks ? length - block * blockSize : blockSize);
        char* data = buffer.get();
        file.read(data, static_cast<std::streamsize>(size));
        if (static_cast<std::size_t>(file.gcount()) != size)
            return fail(DocumentFileResult::Kind::FileError, kOpenFailed);
        data[size] = '\0';
        data[size + 1] = '\0';

        const char* firstLf = static_cast<const char*>(std::memchr(data, '\n', size));
        if (block == 0) {
            if (!firstLf) return fail(DocumentFileResult::Kind::ContentError, NotTextMessage(path));
            const std::size_t at = static_cast<std::size_t>(firstLf - data);
            if (at > kSavedLogLineLimit)
                return fail(DocumentFileResult::Kind::ContentError, FirstLineTooLongMessage(path));
            lfOnly = at == 0 || data[at - 1] != '\r';
        } else if (!firstLf) {
            // The whole block continues one line: refused once that line is
            // past the limit; a short unended tail at the end is dropped below.
            if (heldBack.size() + size >= kSavedLogLineLimit)
                return fail(DocumentFileResult::Kind::ContentError, LineTooLongMessage(path));
            heldBack.append(data, size);
            continue;
        }

        std::size_t start = 0;
        for (const char* lf = firstLf; lf;
             lf = static_cast<const char*>(std::memchr(data + start, '\n', size - start))) {
            const std::size_t at = static_cast<std::size_t>(lf - data);
            if (heldBack.size() + (at - start) >= kSavedLogLineLimit)
                return fail(DocumentFileResult::Kind::ContentError, LineTooLongMessage(path));
            std::string line;
            if (heldBack.empty()) {
                line.assign(data + start, at - start);
            } else {
                line = std::move(heldBack);
                heldBack.clear();
                line.append(data + start, at - start);
            }
            // A stray bare line feed in a CR LF file keeps its last character.
            if (!lfOnly && !line.empty() && line.back() == '\r') line.pop_back();
            takeLine(std::move(line));
            start = at + 1;
            if (start >= size) break;
        }
        heldBack.append(data + start, size - start);
    }
    // Text after the file's last line feed is not a line.

    SetWaitCursor(host, false);
    ShowReady(host);
    modified = false;
    return {};
}

DocumentFileResult CQuilletDoc::SaveLog(const std::string& path, IDocumentHost* host) {
    SetWaitCursor(host, true);
    std::string failure = WriteSavedLog(path, logLines);
    SetWaitCursor(host, false);
    if (!failure.empty()) return {DocumentFileResult::Kind::FileError, std::move(failure)};
    modified = false;
    return {};
}

CloseDecision CQuilletDoc::MayClose() {
    // A saved log being read counts as processing too: the reader still
    // works on this document between its message drains.
    if (runInProgress || m_reading) return CloseDecision::Refuse;
    closing = true;
    return modified ? CloseDecision::AskSaveChanges : CloseDecision::Close;
}

const char* CQuilletDoc::CloseGuardText() { return kCloseGuard; }

}  // namespace webquill
