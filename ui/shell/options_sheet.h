// The Options sheet (Tools > Options...): the Preferences, TOC Defaults and
// Image Filter pages over the active log window's document. Preferences and
// Image Filter store their values each time they are left; the TOC defaults
// reach the document and the store only when the sheet ends with OK.
#pragma once

#include <string>

#include "ui/editor/sheet_page.h"

class QCheckBox;
class QLineEdit;

namespace webquill {

class CQuilletDoc;

// Preferences: editor and web browser programs, date display, match case,
// error messages, uploads of changed files only, the SFTP key file.
class CPrefdlg : public CSheetPage {
    Q_OBJECT
public:
    explicit CPrefdlg(CQuilletDoc& doc, QWidget* parent = nullptr);
    void OnSetActive() override;
    bool OnKillActive() override;

    QLineEdit* EditorField() const { return m_editor; }
    QLineEdit* BrowserField() const { return m_browser; }
    QCheckBox* DateBox() const { return m_usDate; }
    QCheckBox* MatchCaseBox() const { return m_matchCase; }
    QCheckBox* ErrorsBox() const { return m_errors; }
    QCheckBox* ChangedOnlyBox() const { return m_changedOnly; }
    QLineEdit* KeyFileField() const { return m_keyFile; }

private:
    void Browse(QLineEdit* field, const QString& title);

    CQuilletDoc& m_doc;
    QLineEdit* m_editor = nullptr;
    QLineEdit* m_browser = nullptr;
    QCheckBox* m_usDate = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QCheckBox* m_errors = nullptr;
    QCheckBox* m_changedOnly = nullptr;
    QLineEdit* m_keyFile = nullptr;  // SftpKeyFile, kept in the store alone
};

// The three texts the options command hands to the TOC Defaults page.
struct TocDefaults {
    std::string previous, current, next;
};

class CTOCInfo : public CSheetPage {
    Q_OBJECT
public:
    explicit CTOCInfo(TocDefaults& values, QWidget* parent = nullptr);
    void OnSetActive() override;
    bool OnKillActive() override;
    QLineEdit* Field(int index) const { return m_fields[index]; }

private:
    TocDefaults& m_values;
    QLineEdit* m_fields[3] = {};
};

class CImgPage : public CSheetPage {
    Q_OBJECT
public:
    explicit CImgPage(CQuilletDoc& doc, QWidget* parent = nullptr);
    void OnSetActive() override;
    bool OnKillActive() override;
    QLineEdit* FilterField() const { return m_filter; }

private:
    CQuilletDoc& m_doc;
    QLineEdit* m_filter = nullptr;
};

// Shows the sheet modally over `parent`; true when it ended with OK. The
// caller repaints the log view in every case.
bool RunOptionsSheet(QWidget* parent, CQuilletDoc& doc);

}  // namespace webquill
