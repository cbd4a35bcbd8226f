#include "ui/editor/command_field.h"

#include <QKeyEvent>
#include <QMimeData>

#include "platform/desktop/ui_prompts.h"

namespace webquill {

namespace {
bool IsEnter(const QKeyEvent* event) { return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter; }
}  // namespace

CMultiLineField::CMultiLineField(int limit, QWidget* parent) : QPlainTextEdit(parent), m_limit(limit) {
    setTabChangesFocus(true);
    setLineWrapMode(QPlainTextEdit::NoWrap);
}

bool CMultiLineField::Fits(const QString& text) const {
    const QTextCursor cursor = textCursor();
    const qsizetype selected = cursor.selectionEnd() - cursor.selectionStart();
    return toPlainText().size() - selected + text.size() <= m_limit;
}

void CMultiLineField::keyPressEvent(QKeyEvent* event) {
    if (IsEnter(event)) {
        // Enter alone goes on to the sheet, which presses its default button.
        if (!(event->modifiers() & Qt::ControlModifier)) return event->ignore();
        if (Fits(QStringLiteral("\n"))) insertPlainText(QStringLiteral("\n"));
        else Prompts().Beep();
        event->accept();
        return;
    }
    // A shortcut (Ctrl+A) types nothing, whatever text its event carries.
    const QString typed = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier) ? QString() : event->text();
    if (!typed.isEmpty() && typed.at(0).isPrint() && !Fits(typed)) {
        Prompts().Beep();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void CMultiLineField::insertFromMimeData(const QMimeData* source) {
    if (source && source->hasText() && !Fits(source->text())) {
        Prompts().Beep();
        return;
    }
    QPlainTextEdit::insertFromMimeData(source);
}

CSingleLineField::CSingleLineField(int limit, QWidget* parent) : QLineEdit(parent) { setMaxLength(limit); }

void CSingleLineField::keyPressEvent(QKeyEvent* event) {
    // Ctrl+Enter has no line to break here; it must not press OK either.
    if (IsEnter(event) && (event->modifiers() & Qt::ControlModifier)) return event->accept();
    QLineEdit::keyPressEvent(event);
}

QString FieldText(const QWidget* field) {
    if (auto* many = qobject_cast<const QPlainTextEdit*>(field)) return many->toPlainText();
    if (auto* one = qobject_cast<const QLineEdit*>(field)) return one->text();
    return QString();
}

void SetFieldText(QWidget* field, const QString& text) {
    if (auto* many = qobject_cast<QPlainTextEdit*>(field)) many->setPlainText(text);
    else if (auto* one = qobject_cast<QLineEdit*>(field)) one->setText(text);
}

}  // namespace webquill
