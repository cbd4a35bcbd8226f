#include "sheet_page.h"

namespace webquill {

CSheetPage::CSheetPage(const QString& caption, int helpContext, QWidget* parent)
    : QWidget(parent), m_caption(caption), m_helpContext(helpContext) {}

bool CSheetPage::Refuse(QWidget* field) {
    m_refusalFocus = field;
    if (field) field->setFocus(Qt::OtherFocusReason);
    return false;
}

}  // namespace webquill
