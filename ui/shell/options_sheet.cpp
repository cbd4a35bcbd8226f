#include "ui/shell/options_sheet.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/desktop/byte_text.h"
#include "platform/desktop/help_viewer.h"
#include "ui/editor/my_sheet.h"
#include "core/shell/preferences.h"
#include "ui/editor/publish_dialog.h"
#include "core/shell/quillet_doc.h"
#include "platform/storage/settings_store.h"
#include "platform/desktop/ui_prompts.h"

namespace webquill {

namespace {

constexpr const char* kSection = "Preferences";

void Store(const char* name, const std::string& value) { CSettingsStore().WriteString(kSection, name, value); }

void StoreFlag(const char* name, bool on) { Store(name, on ? "1" : "0"); }

QLineEdit* LabelledField(const QString& caption, QWidget* page, QGridLayout* grid, int row) {
    auto* label = new QLabel(caption, page);
    auto* field = new QLineEdit(page);
    label->setBuddy(field);
    grid->addWidget(label, row, 0, 1, 2);
    grid->addWidget(field, row + 1, 0);
    return field;
}

}  // namespace

CPrefdlg::CPrefdlg(CQuilletDoc& doc, QWidget* parent)
    : CSheetPage(QStringLiteral("Preferences"), kHelpPreferences, parent), m_doc(doc) {
    auto* grid = new QGridLayout(this);
    m_editor = LabelledField(QStringLiteral("Editor &Application:"), this, grid, 0);
    auto* browseEditor = new QPushButton(QStringLiteral("&Browse"), this);
    grid->addWidget(browseEditor, 1, 1);
    m_browser = LabelledField(QStringLiteral("&Web Browser:"), this, grid, 2);
    auto* browseBrowser = new QPushButton(QStringLiteral("Brow&se"), this);
    grid->addWidget(browseBrowser, 3, 1);
    m_usDate = new QCheckBox(QStringLiteral("&Display U.S. Date/Time for %%SYSDATE%%/%%SYSTIME%%"), this);
    m_matchCase = new QCheckBox(QStringLiteral("&Match Case Everywhere"), this);
    m_errors = new QCheckBox(QStringLiteral("Display &Error Messages during Build"), this);
    grid->addWidget(m_usDate, 4, 0, 1, 2);
    grid->addWidget(m_matchCase, 5, 0, 1, 2);
    m_changedOnly = new QCheckBox(QStringLiteral("&Upload Changed Files Only"), this);
    grid->addWidget(m_errors, 6, 0, 1, 2);
    grid->addWidget(m_changedOnly, 7, 0, 1, 2);
    m_keyFile = LabelledField(QStringLiteral("SFTP &Key File (empty: ~/.ssh and ssh-agent):"), this, grid, 8);
    auto* browseKey = new QPushButton(QStringLiteral("Br&owse"), this);
    grid->addWidget(browseKey, 9, 1);
    grid->setRowStretch(10, 1);
    connect(browseKey, &QPushButton::clicked, this, [this] {
        FileDialogRequest request;
        request.caption = QStringLiteral("Select SFTP Key File");
        request.filters = {FileDialogFilter(QStringLiteral("All Files (*) "), QStringLiteral("*"))};
        const QString chosen = Prompts().ChooseFile(this, request);
        if (!chosen.isEmpty()) m_keyFile->setText(chosen);
    });
    connect(browseEditor, &QPushButton::clicked, this,
            [this] { Browse(m_editor, QStringLiteral("Select File Editor")); });
    connect(browseBrowser, &QPushButton::clicked, this,
            [this] { Browse(m_browser, QStringLiteral("Select Web Browser")); });
}

void CPrefdlg::Browse(QLineEdit* field, const QString& title) {
    FileDialogRequest request;
    request.caption = title;
    request.filters = {FileDialogFilter(QStringLiteral("Exe Files (*.exe) "), QStringLiteral("*.exe")),
                       FileDialogFilter(QStringLiteral("All Files (*.*) "), QStringLiteral("*.*"))};
    const QString chosen = Prompts().ChooseFile(this, request);
    if (!chosen.isEmpty()) field->setText(chosen);
}

void CPrefdlg::OnSetActive() {
    m_editor->setText(ShownText(m_doc.editorProgram));
    m_browser->setText(ShownText(m_doc.webBrowserProgram));
    m_matchCase->setChecked(m_doc.settings.matchCase);
    m_usDate->setChecked(m_doc.settings.usDateDisplay);
    m_errors->setChecked(m_doc.settings.displayErrors);
    // A per-user choice of the upload, not part of the document.
    m_changedOnly->setChecked(LoadPreferences(CSettingsStore()).uploadChangedOnly);
    m_keyFile->setText(ShownText(LoadPreferences(CSettingsStore()).sftpKeyFile));
    m_editor->setFocus(Qt::OtherFocusReason);
}

bool CPrefdlg::OnKillActive() {
    m_doc.editorProgram = FieldBytes(m_editor->text(), m_doc.editorProgram, false);
    if (m_doc.editorProgram != kDefaultEditor) Store("Editor", m_doc.editorProgram);
    m_doc.webBrowserProgram = FieldBytes(m_browser->text(), m_doc.webBrowserProgram, false);
    Store("WebBrowser", m_doc.webBrowserProgram);
    m_doc.settings.usDateDisplay = m_usDate->isChecked();
    StoreFlag("DateDisplay", m_doc.settings.usDateDisplay);
    m_doc.settings.matchCase = m_matchCase->isChecked();
    StoreFlag("MatchCase", m_doc.settings.matchCase);
    m_doc.settings.displayErrors = m_errors->isChecked();
    StoreFlag("DisplayErrors", m_doc.settings.displayErrors);
    StoreFlag("UploadChangedOnly", m_changedOnly->isChecked());
    Store("SftpKeyFile", FieldBytes(m_keyFile->text(), LoadPreferences(CSettingsStore()).sftpKeyFile, false));
    return true;
}

CTOCInfo::CTOCInfo(TocDefaults& values, QWidget* parent)
    : CSheetPage(QStringLiteral("TOC Defaults"), kHelpTocDefaults, parent), m_values(values) {
    auto* grid = new QGridLayout(this);
    auto* intro = new QLabel(QStringLiteral("When No TOC File is being Created, use the following defaults for:"), this);
    intro->setWordWrap(true);
    grid->addWidget(intro, 0, 0, 1, 2);
    const char* const captions[] = {"%%&PrevTOCInfo%%", "%%&ThisTOCInfo%%", "%%&NextTOCInfo%%"};
    for (int i = 0; i < 3; ++i) m_fields[i] = LabelledField(QString::fromLatin1(captions[i]), this, grid, 1 + 2 * i);
    grid->setRowStretch(7, 1);
}

void CTOCInfo::OnSetActive() {
    m_fields[0]->setText(ShownText(m_values.previous));
    m_fields[1]->setText(ShownText(m_values.current));
    m_fields[2]->setText(ShownText(m_values.next));
    m_fields[0]->setFocus(Qt::OtherFocusReason);
}

bool CTOCInfo::OnKillActive() {
    m_values.previous = FieldBytes(m_fields[0]->text(), m_values.previous, false);
    m_values.current = FieldBytes(m_fields[1]->text(), m_values.current, false);
    m_values.next = FieldBytes(m_fields[2]->text(), m_values.next, false);
    return true;
}

CImgPage::CImgPage(CQuilletDoc& doc, QWidget* parent)
    : CSheetPage(QStringLiteral("Image Filter"), kHelpImageFilter, parent), m_doc(doc) {
    auto* grid = new QGridLayout(this);
    m_filter = LabelledField(QStringLiteral("&Image Filter"), this, grid, 0);
    grid->setRowStretch(2, 1);
}

void CImgPage::OnSetActive() { m_filter->setText(ShownText(m_doc.imageFileFilter)); }

bool CImgPage::OnKillActive() {
    if (m_filter->text().isEmpty()) {
        Prompts().Message(this, QStringLiteral("Webquill"), QStringLiteral("Image Filter may NOT be left empty!"),
                          PromptIcon::Warning, PromptButtons::Ok);
        return Refuse(m_filter);
    }
    m_doc.imageFileFilter = FieldBytes(m_filter->text(), m_doc.imageFileFilter, false);
    Store("ImageFileFilter", m_doc.imageFileFilter);
    return true;
}

bool RunOptionsSheet(QWidget* parent, CQuilletDoc& doc) {
    CMySheet sheet(QStringLiteral("Options"), parent);
    TocDefaults toc{doc.settings.previousTocInfo, doc.settings.thisTocInfo, doc.settings.nextTocInfo};
    sheet.AddPage(new CPrefdlg(doc));
    sheet.AddPage(new CTOCInfo(toc));
    sheet.AddPage(new CImgPage(doc));
    if (sheet.exec() != QDialog::Accepted) return false;
    doc.settings.previousTocInfo = toc.previous;
    doc.settings.thisTocInfo = toc.current;
    doc.settings.nextTocInfo = toc.next;
    Store("PreviousTOCInfo", toc.previous);
    Store("ThisTOCInfo", toc.current);
    Store("NextTOCInfo", toc.next);
    return true;
}

}  // namespace webquill
