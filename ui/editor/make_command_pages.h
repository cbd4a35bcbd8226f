// The two pages of the commands that occur once, MakeFile and MakeTOC: a
// start and an end pattern edited in place in the first record of the kind.
#pragma once

#include "engine/command_records.h"
#include "ui/editor/sheet_page.h"

class QPlainTextEdit;

namespace webquill {

struct RuleWorkingSet;

struct MakeCommandPageWords {
    const char* caption;
    int helpContext;
    CommandKind kind;
    const char* startLabel;
    const char* endLabel;
};

class CMakeCommandPage : public CSheetPage {
    Q_OBJECT
public:
    CMakeCommandPage(RuleWorkingSet& set, const MakeCommandPageWords& words, QWidget* parent = nullptr);

    void OnSetActive() override;
    bool OnKillActive() override;

    QPlainTextEdit* StartField() const { return m_start; }
    QPlainTextEdit* EndField() const { return m_end; }

private:
    CCmdVar* FindRecord() const;

    RuleWorkingSet& m_set;
    const MakeCommandPageWords& m_words;
    QPlainTextEdit* m_start = nullptr;
    QPlainTextEdit* m_end = nullptr;
    QString m_shownStart, m_shownEnd;  // as last shown from the record
    std::int32_t m_largest = 0;
};

// "Make File Command": where the edited text is cut into WWW files.
class CMakeFileCmd : public CMakeCommandPage {
    Q_OBJECT
public:
    explicit CMakeFileCmd(RuleWorkingSet& set, QWidget* parent = nullptr);
};

// "Make TOC Command": how the table-of-contents entries are marked.
class CMakeIdx : public CMakeCommandPage {
    Q_OBJECT
public:
    explicit CMakeIdx(RuleWorkingSet& set, QWidget* parent = nullptr);
};

}  // namespace webquill
