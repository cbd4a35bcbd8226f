#include "core/shell/version_info.h"

#include <algorithm>

namespace webquill {

namespace {

constexpr const char* kCreditLine = "Written by the Webquill developers";

// "1, 2, 0, 1": the four numbers of the build's version, as a version
// resource writes them.
std::string BuildVersionText() {
    return std::to_string(WEBQUILL_VERSION_MAJOR) + ", " + std::to_string(WEBQUILL_VERSION_MINOR) +
           ", " + std::to_string(WEBQUILL_VERSION_PATCH) + ", " +
           std::to_string(WEBQUILL_VERSION_TWEAK);
}

std::string Lookup(const VersionBlock& block, const char* key) {
    const auto found = block.strings.find(key);
    return found == block.strings.end() ? std::string() : found->second;
}

// The first three pieces of the product version joined by full stops; with
// fewer pieces the text ends in the full stop after the last one.
std::string ShortVersionOf(const std::string& productVersion) {
    constexpr std::size_t kMaxCopy = 99;
    const std::string copy = productVersion.substr(0, kMaxCopy);
    std::string out;
    int pieces = 0;
    std::size_t at = 0;
    while (pieces < 3) {
        at = copy.find_first_not_of(" ,", at);
        if (at == std::string::npos) break;
        const std::size_t end = std::min(copy.find_first_of(" ,", at), copy.size());
        out.append(copy, at, end - at);
        if (++pieces < 3) out += '.';
        at = end;
    }
    return out;
}

}  // namespace

const VersionBlock* ProgramVersionBlock() {
    static const VersionBlock block{{
        {"Comments", "Turns one long HTML or text document into a small web site"},
        {"CompanyName", "Tessaly"},
        {"FileDescription", "Webquill document publisher"},
        {"FileVersion", BuildVersionText()},
        {"InternalName", "Webquill"},
        {"LegalCopyright", "Copyright (C) 2026 Tessaly"},
        {"OriginalFilename", "webquill"},
        {"ProductName", "Quillet Application"},
        {"ProductVersion", BuildVersionText()},
    }};
    return &block;
}

CVersionInfo::CVersionInfo() : CVersionInfo(ProgramVersionBlock()) {}

CVersionInfo::CVersionInfo(const VersionBlock* block) {
    if (!block) return;
    comments = Lookup(*block, "Comments");
    companyName = Lookup(*block, "CompanyName");
    fileDescription = Lookup(*block, "FileDescription");
    fileVersion = Lookup(*block, "FileVersion");
    internalName = Lookup(*block, "InternalName");
    legalCopyright = Lookup(*block, "LegalCopyright");
    legalTrademarks = Lookup(*block, "LegalTrademarks");
    originalFilename = Lookup(*block, "OriginalFilename");
    productName = Lookup(*block, "ProductName");
    productVersion = Lookup(*block, "ProductVersion");
    shortVersion = ShortVersionOf(productVersion);
}

std::string CVersionInfo::AboutText() const {
    return productName + "\nVersion " + shortVersion + "\n" + kCreditLine + "\n" + legalCopyright +
           "\n" + companyName;
}

std::string VersionText(const std::string& program) {
    const CVersionInfo info;
    return program + " " + info.shortVersion + "\n" + info.AboutText() + "\n";
}

}  // namespace webquill
