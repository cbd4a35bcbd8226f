// The rule editor's five command pages: Add, Delete, Extract, Replace and
// Wrap, each the shared command page with its own table; Wrap adds the check
// of its number format and the pre-defined formats.
#pragma once

#include "ui/editor/command_page.h"

namespace webquill {

class CAddCmd : public CCommandPage {
    Q_OBJECT
public:
    explicit CAddCmd(RuleWorkingSet& set);
};

class CDeleteCmd : public CCommandPage {
    Q_OBJECT
public:
    explicit CDeleteCmd(RuleWorkingSet& set);
};

class CExtractCmd : public CCommandPage {
    Q_OBJECT
public:
    explicit CExtractCmd(RuleWorkingSet& set);
};

class CReplaceCmd : public CCommandPage {
    Q_OBJECT
public:
    explicit CReplaceCmd(RuleWorkingSet& set);
};

class CWrapCmd : public CCommandPage {
    Q_OBJECT
public:
    enum WrapField { kPrefix, kFormat, kEnd, kBefore, kAfter };
    explicit CWrapCmd(RuleWorkingSet& set);

    QPushButton* FormatsButton() const { return m_formats; }
    // The "Formats" button: picks a format from the pre-defined ones.
    void PickFormat();

protected:
    bool CheckShown(ShownValues& values) override;
    bool CheckOtherCommand(int index) override;

private:
    // Asks about a leading blank (No drops the leading blanks from `format`)
    // and refuses a character outside the format language, naming it.
    bool CheckFormat(QString& format);

    QPushButton* m_formats = nullptr;
};

}  // namespace webquill
