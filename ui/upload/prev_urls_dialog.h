// "Previous Ftp URLs": the recent FTP table in two columns, one row picked.
#pragma once

#include <QDialog>
#include <string>
#include <vector>

#include "core/shell/quillet_doc.h"

namespace webquill {

class CListCtrlEx;

class CPrevUrlsDlg : public QDialog {
    Q_OBJECT
public:
    CPrevUrlsDlg(const std::vector<FtpRow>& rows, QWidget* parent = nullptr);

    CListCtrlEx* List() const { return m_list; }
    // After OK: the texts of the row selected last (empty when none was).
    const std::string& ChosenUrl() const { return m_url; }
    const std::string& ChosenStartDirectory() const { return m_startDirectory; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    CListCtrlEx* m_list;
    std::string m_url, m_startDirectory;
};

// The first row whose URL and start directory are the chosen ones, or null.
const FtpRow* FindFtpRow(const std::vector<FtpRow>& rows, const std::string& url, const std::string& startDirectory);

}  // namespace webquill
