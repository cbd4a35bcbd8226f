// Header and footer templates written into a page with their "%%name%%"
// references replaced, and the value look-ups the TOC file shares.
#include <array>
#include <utility>

#include "engine/output_file.h"
#include "engine/publishing_run.h"

namespace webquill {

namespace {
constexpr std::string_view kDelimiter = "%%";
constexpr std::size_t kShownAfterOpening = 20;
}  // namespace

std::optional<CPublishingRun::UnclosedName> CPublishingRun::WriteWithValues(
    COutputFile& file, std::string_view text, ValueLookup lookUp) const {
    std::size_t copy = 0;
    for (;;) {
        const std::size_t open = FindExact(text, kDelimiter, copy);
        if (open == kNotFound) {
            file.Write(text.substr(copy));
            return std::nullopt;
        }
        const std::size_t close = FindExact(text, kDelimiter, open + kDelimiter.size());
        if (close == kNotFound) return UnclosedName{copy, open};
        const std::size_t nameStart = open + kDelimiter.size();
        const std::string_view name = text.substr(nameStart, close - nameStart);
        // An empty stretch or one too long for a name can never resolve.
        std::optional<std::string_view> value;
        if (!name.empty() && name.size() <= kMaxNameLength) value = (this->*lookUp)(name);
        if (value) {
            file.Write(text.substr(copy, open - copy));
            file.Write(*value);
        } else {
            file.Write(text.substr(copy, close + kDelimiter.size() - copy));
        }
        copy = close + kDelimiter.size();
    }
}

// The pages look their variables up by name many times over: an index of the
// first record of each name, names folded as FindVariable compares them,
// answers in constant time. It is made again when records were added.
const CCmdVar* CPublishingRun::IndexedVariable(std::string_view name) const {
    if (m_indexedRecords != m_doc.commands.Size()) {
        m_variableIndex.clear();
        m_doc.commands.ForEach([this](const CCmdVar& record) {
            if (record.variableName.empty()) return;
            std::string key = record.variableName;
            for (char& c : key) c = FoldAscii(c);
            m_variableIndex.emplace(std::move(key), &record);
        });
        m_indexedRecords = m_doc.commands.Size();
    }
    if (name.empty()) return nullptr;
    std::string& key = m_foldedName;
    key.assign(name);
    for (char& c : key) c = FoldAscii(c);
    const auto found = m_variableIndex.find(key);
    return found == m_variableIndex.end() ? nullptr : found->second;
}

std::optional<std::string_view> CPublishingRun::VariableValue(std::string_view name) const {
    const CCmdVar* variable = IndexedVariable(name);
    if (!variable || !variable->newText) return std::nullopt;
    return std::string_view(*variable->newText);
}

std::optional<std::string_view> CPublishingRun::PageLinkValue(std::string_view name) const {
    static constexpr std::array<std::pair<std::string_view, std::string PageLinks::*>, 7> kNames{{
        {"TOCFile", &PageLinks::tocFile},
        {"ThisTOCFile", &PageLinks::thisFile},
        {"ThisTOCInfo", &PageLinks::thisInfo},
        {"NextTOCFile", &PageLinks::nextFile},
        {"NextTOCInfo", &PageLinks::nextInfo},
        {"PrevTOCFile", &PageLinks::prevFile},
        {"PrevTOCInfo", &PageLinks::prevInfo},
    }};
    for (const auto& [known, member] : kNames)
        if (EqualsIgnoringAsciiCase(name, known)) return std::string_view(m_links.*member);
    return std::nullopt;
}

// A variable record decides on its own, even one whose Extract found nothing:
// an Extract named like a page link replaces that link.
std::optional<std::string_view> CPublishingRun::TemplateValue(std::string_view name) const {
    if (const CCmdVar* variable = IndexedVariable(name)) {
        if (!variable->newText) return std::nullopt;
        return std::string_view(*variable->newText);
    }
    return PageLinkValue(name);
}

bool CPublishingRun::TemplateWriteFailed(TemplatePart part) {
    const std::string message = part == TemplatePart::Header
                                    ? "An error occurred while writing Header information!"
                                    : "An error occurred while writing Footer information!";
    AddLogLine("***> " + message);
    NoteBox(message + "\n*** Publishing Stopped! ***");
    return false;
}

bool CPublishingRun::WriteTemplate(COutputFile& file, std::string_view text, TemplatePart part) {
    const bool header = part == TemplatePart::Header;
    const std::optional<UnclosedName> unclosed =
        WriteWithValues(file, text, &CPublishingRun::TemplateValue);
    if (file.Failed()) return TemplateWriteFailed(part);
    if (!unclosed) return true;
    const std::string message = std::string("Error in ") + (header ? "Header" : "Footer") +
                                " file variable definition!  No ending %%!";
    AddLogLine("***> " + message);
    NoteBox(message + "\nBeginning of variable => " +
            std::string(text.substr(unclosed->open, kShownAfterOpening)) +
            "...\n*** Can't Continue! ***");
    return false;
}

}  // namespace webquill
