// The rule editor's "Upload Info" page: the FTP site, the account, the
// server folders of the TOC file and the pages, and the local and server
// folders of the images.
#pragma once

#include <array>
#include <string>

#include "ui/editor/sheet_page.h"

class QLineEdit;
class QPushButton;

namespace webquill {

class CQuilletDoc;
struct RuleWorkingSet;

class CUploadInfoPage : public CSheetPage {
    Q_OBJECT
public:
    static constexpr int kFieldCount = 7;
    enum Field { FtpUrl, UserId, Password, TocServerDir, WwwServerDir, ImagesLocalDir, ImagesServerDir };

    CUploadInfoPage(RuleWorkingSet& set, const CQuilletDoc& doc, QWidget* parent = nullptr);

    void OnSetActive() override;
    bool OnKillActive() override;

    QLineEdit* FieldEdit(Field field) const { return m_edits[field]; }
    QPushButton* BrowseButton() const { return m_browse; }
    QPushButton* PrevUrlsButton() const { return m_prevUrls; }
    int FocusIndex() const { return m_focusIndex; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnBrowse();
    void OnPrevUrls();
    void ReadControls();
    void ShowFields();
    void FocusField(int index);

    RuleWorkingSet& m_set;
    const CQuilletDoc& m_doc;
    std::array<std::string, kFieldCount> m_values;
    std::array<QLineEdit*, kFieldCount> m_edits{};
    QPushButton* m_browse;
    QPushButton* m_prevUrls;
    int m_focusIndex = 0;
    bool m_firstActivation = true;
};

}  // namespace webquill
