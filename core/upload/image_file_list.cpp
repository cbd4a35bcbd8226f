#include "core/upload/image_file_list.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sys/stat.h>

#include "engine/file_paths.h"

namespace webquill {

namespace {

char Upper(char c) { return static_cast<char>(std::toupper(static_cast<unsigned char>(c))); }

// Splits at the last full stop; no full stop: all base, empty extension.
void SplitAtLastStop(std::string_view text, std::string_view& base, std::string_view& extension) {
    const std::size_t stop = text.rfind('.');
    base = stop == std::string_view::npos ? text : text.substr(0, stop);
    extension = stop == std::string_view::npos ? std::string_view() : text.substr(stop + 1);
}

// Cuts `pattern` at its first '*' and matches it against the start of `text`.
bool PrefixMatches(std::string_view pattern, std::string_view text, bool& hadAsterisk) {
    const std::size_t star = pattern.find('*');
    hadAsterisk = star != std::string_view::npos;
    if (hadAsterisk) pattern = pattern.substr(0, star);
    if (text.size() < pattern.size()) return false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
        if (pattern[i] != '?' && Upper(pattern[i]) != Upper(text[i])) return false;
    return true;
}

int CompareCaseBlind(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char x = Upper(a[i]), y = Upper(b[i]);
        if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace

std::vector<std::string> SplitImageFilter(std::string_view filter) {
    std::vector<std::string> patterns;
    std::string current;
    bool first = true;
    for (const char c : filter) {
        if (c == ';' || c == ',' || (first && c == ' ')) {
            if (!current.empty()) patterns.push_back(std::move(current));
            current.clear();
            first = false;
        } else {
            current += c;
        }
    }
    if (!current.empty()) patterns.push_back(std::move(current));
    return patterns;
}

bool ImagePatternMatches(std::string_view pattern, std::string_view name) {
    if (pattern == "*.*") return true;
    std::string_view base, extension, basePattern, extensionPattern;
    SplitAtLastStop(name, base, extension);
    SplitAtLastStop(pattern, basePattern, extensionPattern);
    bool asterisk = false;
    if (!PrefixMatches(basePattern, base, asterisk)) return false;
    if (extensionPattern.empty()) return true;
    if (!PrefixMatches(extensionPattern, extension, asterisk)) return false;
    return asterisk || extension.size() == extensionPattern.size();
}

bool CImgFileList::Matches(std::string_view name) const {
    return std::any_of(m_patterns.begin(), m_patterns.end(),
                       [&](const std::string& p) { return ImagePatternMatches(p, name); });
}

CImgFile& CImgFileList::AddNew() { return m_files.emplace_back(); }

void CImgFileList::Build(std::string_view filter, const std::string& directory) {
    namespace fs = std::filesystem;
    m_patterns = SplitImageFilter(filter);
    std::error_code error;
    fs::directory_iterator it(fs::path(directory), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        const std::string name = it->path().filename().string();
        struct stat info {};
        if (name.empty() || name.front() == '.') continue;
        if (::stat(it->path().c_str(), &info) != 0 || !S_ISREG(info.st_mode) || !(info.st_mode & S_IWUSR))
            continue;
        if (!Matches(name)) continue;
        CImgFile& file = AddNew();
        file.shortName = name;
        file.name = name;
        file.directory = directory;
        file.fullPath = JoinPath(directory, name);
        file.attributes = static_cast<std::uint32_t>(info.st_mode);
    }
    std::sort(m_files.begin(), m_files.end(), [](const CImgFile& a, const CImgFile& b) {
        const int byDirectory = CompareCaseBlind(a.directory, b.directory);
        return byDirectory != 0 ? byDirectory < 0 : CompareCaseBlind(a.name, b.name) < 0;
    });
}

}  // namespace webquill
