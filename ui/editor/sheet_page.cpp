#include "ui/editor/sheet_page.h"

#include "platform/desktop/help_viewer.h"

namespace webquill {

CSheetPage::CSheetPage(const QString& caption, int helpContext, QWidget* parent)
    : QWidget(parent), m_caption(caption), m_helpContext(helpContext) {
    // F1 in the page opens its topic.
    setProperty(kHelpContextProperty, helpContext);
}

bool CSheetPage::Refuse(QWidget* field) {
    m_refusalFocus = field;
    if (field) field->setFocus(Qt::OtherFocusReason);
    return false;
}

}  // namespace webquill
