// The program's version values and the About box text composed from them.
#pragma once

#include <map>
#include <string>

namespace webquill {

// What a version resource holds: its named strings. On this platform the
// program's own block is compiled in from the build's version.
struct VersionBlock {
    std::map<std::string, std::string> strings;
};

// The program's block; never null for this program.
const VersionBlock* ProgramVersionBlock();

class CVersionInfo {
public:
    CVersionInfo();                                  // the running program's block
    explicit CVersionInfo(const VersionBlock* block);  // null: no version block

    std::string comments, companyName, fileDescription, fileVersion, internalName, legalCopyright,
        legalTrademarks, originalFilename, productName, productVersion;
    // The first three numbers of the product version: "1, 2, 0, 1" gives 1.2.0.
    std::string shortVersion;

    // Five lines joined with line feeds: product name, "Version " and the
    // short version, the credit line, the copyright notice, the company.
    std::string AboutText() const;
};

// What `--version` prints: the program's name and short version on the first
// line, then the About box's text, each line ended by a line feed.
std::string VersionText(const std::string& program);

}  // namespace webquill
