// A page of the rule editor whose own editing is not built yet: it shows what
// the loaded file holds for it and keeps it exactly as loaded.
#pragma once

#include <functional>

#include "sheet_page.h"

class QPlainTextEdit;

namespace webquill {

struct RuleWorkingSet;

class CKeptRecordsPage : public CSheetPage {
    Q_OBJECT
public:
    // `describe` lists, one line each, what the page keeps.
    CKeptRecordsPage(const QString& caption, int helpContext, const RuleWorkingSet& set,
                     std::function<QStringList(const RuleWorkingSet&)> describe, QWidget* parent = nullptr);

    void OnSetActive() override;
    QPlainTextEdit* Listing() const { return m_listing; }

private:
    const RuleWorkingSet& m_set;
    std::function<QStringList(const RuleWorkingSet&)> m_describe;
    QPlainTextEdit* m_listing = nullptr;
};

}  // namespace webquill
