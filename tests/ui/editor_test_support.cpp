#include "tests/ui/editor_test_support.h"

#include <QApplication>
#include <QTest>

#include "ui/editor/my_sheet.h"
#include "tests/ui/widget_test_support.h"

namespace webquill::test {

int DriveSheet(const std::function<void(CMySheet&)>& drive, const std::function<void()>& start) {
    CDialogAnswerer answerer([&](QDialog* dialog) {
        auto* sheet = qobject_cast<CMySheet*>(dialog);
        if (!sheet) return false;
        drive(*sheet);
        return true;
    });
    start();
    return answerer.answered;
}

void ClickInto(QWidget* field) {
    field->setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
}

void TypeInto(QWidget* field, const QString& text) {
    ClickInto(field);
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Delete);
    QTest::keyClicks(field, text);
}

}  // namespace webquill::test
