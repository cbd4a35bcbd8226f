// The About box: the program's name, version, credits and company, and how
// to reach the maker.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

namespace webquill {

// Who to contact, shown in the About box's second field.
QString ContactDetails();

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // `aboutText` is the application's about text (five lines; empty before
    // the first document filled it).
    explicit CAboutDlg(const QString& aboutText, QWidget* parent = nullptr);

    QLabel* AboutTextField() const { return m_aboutText; }
    QLabel* ContactField() const { return m_contact; }
    QLabel* ProgramIcon() const { return m_programIcon; }
    QLabel* CompanyIcon() const { return m_companyIcon; }
    QPushButton* OkButton() const { return m_ok; }

private:
    QLabel* m_programIcon = nullptr;
    QLabel* m_companyIcon = nullptr;
    QLabel* m_aboutText = nullptr;
    QLabel* m_contact = nullptr;
    QPushButton* m_ok = nullptr;
};

}  // namespace webquill
