#include "kept_records_page.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "rule_working_set.h"

namespace webquill {

CKeptRecordsPage::CKeptRecordsPage(const QString& caption, int helpContext, const RuleWorkingSet& set,
                                   std::function<QStringList(const RuleWorkingSet&)> describe, QWidget* parent)
    : CSheetPage(caption, helpContext, parent), m_set(set), m_describe(std::move(describe)) {
    m_listing = new QPlainTextEdit(this);
    m_listing->setReadOnly(true);
    m_listing->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Kept as loaded; they are written back unchanged."), this));
    layout->addWidget(m_listing);
}

void CKeptRecordsPage::OnSetActive() { m_listing->setPlainText(m_describe(m_set).join(QLatin1Char('\n'))); }

}  // namespace webquill
