// "Pre-Defined Paragraph Formats": the Wrap number formats to pick from,
// each with examples of the numbers it matches.
#pragma once

#include <QDialog>

class QTreeWidget;
class QTreeWidgetItem;

namespace webquill {

class CParaFormatsDlg : public QDialog {
    Q_OBJECT
public:
    explicit CParaFormatsDlg(QWidget* parent = nullptr);

    // The format of the row last selected; empty when none was.
    const QString& Result() const { return m_result; }
    QTreeWidget* List() const { return m_list; }

protected:
    // Keeps the columns at a quarter and three quarters of the list's width.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidget* m_list = nullptr;
    QString m_result;
};

}  // namespace webquill
