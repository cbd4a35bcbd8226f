// Before anything is written: no output of the run may be one of its inputs.
// Paths are compared as files (the same device and file number), not as
// spellings, so a link or a "./" cannot slip past.
#include <filesystem>
#include <string_view>
#include <system_error>

#include "engine/file_paths.h"
#include "engine/publishing_run.h"
#include "engine/rule_paths.h"

namespace webquill {

namespace fs = std::filesystem;

namespace {
bool SameFile(const std::string& a, const std::string& b) {
    if (a.empty() || b.empty()) return false;
    std::error_code error;
    return fs::equivalent(a, b, error) && !error;
}
}  // namespace

void CPublishingRun::AlsoWrites(const char* what, std::string path) {
    m_extraOutputs.emplace_back(what, std::move(path));
}

// The rule file is named as the program was given it; every other input, and
// the outputs the rule file names, mean the rule file's folder.
std::vector<CPublishingRun::NamedFile> CPublishingRun::InputFiles() const {
    std::vector<NamedFile> inputs{{"Rule file", m_doc.ruleFilePath, m_doc.ruleFilePath}};
    const auto add = [&](const char* what, const std::string& named) {
        inputs.push_back({what, named, RuleRelativePath(m_doc.ruleFilePath, named)});
    };
    add("HTML Source File", m_doc.rule.document);
    if (m_hasHeader) add("Header file", m_doc.rule.headerName);
    if (m_hasFooter) add("Footer file", m_doc.rule.footerName);
    if (m_hasTocTemplate) add("TOC Template file", m_doc.rule.tocTemplate);
    return inputs;
}

bool CPublishingRun::IsInputFile(const std::string& path) const {
    for (const NamedFile& input : InputFiles())
        if (SameFile(path, input.used)) return true;
    return false;
}

// Whether `path` names a page of the WWW series: the series' folder, the root
// name's base, a page number as the series writes it, and its extension.
bool CPublishingRun::IsSeriesPage(const std::string& path) const {
    const std::size_t slash = LastSeparator(path);
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
    if (!SameFile(folder, RuleRelativePath(m_doc.ruleFilePath, m_doc.rule.wwwDirectory))) return false;
    const std::string name = path.substr(slash == std::string::npos ? 0 : slash + 1);
    const std::string& root = m_doc.rule.wwwFileName;
    const std::size_t dot = root.rfind('.');
    const std::size_t baseLength = dot == std::string::npos ? root.size() : dot;
    const std::size_t extensionLength = root.size() - baseLength;
    if (name.size() < root.size() + 3 || name.size() > root.size() + 9) return false;
    if (name.compare(0, baseLength, root, 0, baseLength) != 0 ||
        name.compare(name.size() - extensionLength, extensionLength, root, baseLength) != 0)
        return false;
    const std::string number = name.substr(baseLength, name.size() - root.size());
    if (number.find_first_not_of("0123456789") != std::string::npos) return false;
    return SeriesFileName(std::stoul(number)) == name;
}

bool CPublishingRun::OutputsSpareInputs() {
    std::vector<NamedFile> outputs;
    for (const auto& [what, named] : {std::make_pair("Intermediate file", m_doc.rule.intermediateFile),
                                      std::make_pair("TOC file", m_doc.rule.tocName)})
        outputs.push_back({what, named, RuleRelativePath(m_doc.ruleFilePath, named)});
    for (const auto& [what, path] : m_extraOutputs) outputs.push_back({what, path, path});
    for (const NamedFile& input : InputFiles()) {
        for (const NamedFile& output : outputs) {
            if (!SameFile(output.used, input.used)) continue;
            return HeaderParseFailure((std::string(output.what) + " '" + output.named + "' is the same file as the " +
                                       input.what + " '" + input.named + "'!")
                                          .c_str());
        }
        if (IsSeriesPage(input.used))
            return HeaderParseFailure(("A WWW file of the series " + JoinPath(m_doc.rule.wwwDirectory,
                                                                              m_doc.rule.wwwFileName) +
                                       " is the same file as the " + input.what + " '" + input.named + "'!")
                                          .c_str());
    }
    return true;
}

}  // namespace webquill
