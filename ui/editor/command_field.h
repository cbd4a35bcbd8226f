// A text field of a command page: one line or several, holding at most a
// given number of characters. Ctrl+Enter starts a new line in a field of
// several lines; Enter alone presses the sheet's default button.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>

namespace webquill {

class CMultiLineField : public QPlainTextEdit {
    Q_OBJECT
public:
    CMultiLineField(int limit, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // True when `text` replacing the selection keeps the field in its limit.
    bool Fits(const QString& text) const;
    int m_limit;
};

class CSingleLineField : public QLineEdit {
    Q_OBJECT
public:
    CSingleLineField(int limit, QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

// The text a field shows, and puts into it.
QString FieldText(const QWidget* field);
void SetFieldText(QWidget* field, const QString& text);

}  // namespace webquill
