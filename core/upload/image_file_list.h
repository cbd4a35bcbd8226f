// The local image files that an upload sends: the files of one folder whose
// names pass the image file filter, sorted without regard to case.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace webquill {

struct CImgFile {
    std::string shortName;  // no short alternative names here: the name
    std::string name;
    std::string directory;
    std::string fullPath;
    std::uint32_t attributes = 0;  // the file's mode bits
};

class CImgFileList {
public:
    // Fills the list from `directory` (a missing folder gives an empty list).
    // Skipped: folders, anything but plain files, names starting with "."
    // (hidden) and files without write permission for the owner (read-only).
    void Build(std::string_view filter, const std::string& directory);
    CImgFile& AddNew();
    void DeleteAll() { m_files.clear(); }

    const std::vector<CImgFile>& Files() const { return m_files; }
    const std::vector<std::string>& Patterns() const { return m_patterns; }
    bool Matches(std::string_view name) const;

private:
    std::vector<CImgFile> m_files;
    std::vector<std::string> m_patterns;
};

// The first pattern ends at the first ';', ',' or blank; the others are
// separated by ';' or ',' only. Empty patterns are dropped.
std::vector<std::string> SplitImageFilter(std::string_view filter);
// One pattern against one name, in upper case: "*.*" takes all; otherwise
// the base and the extension are matched as prefixes ('?' any character, cut
// at the first '*'), and an extension pattern without '*' needs an extension
// of its own length.
bool ImagePatternMatches(std::string_view pattern, std::string_view name);

}  // namespace webquill
