#include "ui/editor/publish_dialog.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/desktop/help_viewer.h"
#include "core/shell/quillet_doc.h"
#include "platform/storage/settings_store.h"
#include "platform/desktop/ui_prompts.h"

namespace webquill {

namespace {

bool IsEnterOrEscape(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape: return true;
        default: return false;
    }
}

QPushButton* MakeButton(const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    // No button may be the default one: Enter must not start or close anything.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

}  // namespace

QString FileDialogFilter(const QString& description, const QString& patterns) {
    return description + QLatin1Char('(') + patterns + QLatin1Char(')');
}

std::string FolderOfFile(const std::string& path) {
    const std::size_t separator = path.find_last_of("/\\");
    if (separator == std::string::npos) return std::string();
    std::string folder = path.substr(0, separator);
    if (folder.empty() || folder.back() == ':') folder = path.substr(0, separator + 1);
    return folder;
}

CPublishDlg::CPublishDlg(CQuilletDoc& document, QWidget* parent) : QDialog(parent), m_doc(document) {
    setWindowTitle(QStringLiteral("HTML/Text File Document Publisher"));

    m_ruleFileLabel = new QLabel(QStringLiteral("Select/Enter &Rule File Path and Name:"), this);
    m_combo = new QComboBox(this);
    m_combo->setEditable(true);
    // The list is the recent rule files and nothing else; neither Enter nor
    // typing may add to it or complete a typed path behind the user's back.
    m_combo->setInsertPolicy(QComboBox::NoInsert);
    m_combo->setCompleter(nullptr);
    m_combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_combo->setMinimumContentsLength(40);
    m_combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    m_ruleFileLabel->setBuddy(m_combo);

    m_browseLabel = new QLabel(QStringLiteral("&Browse"), this);
    m_browse = MakeButton(QStringLiteral("..."), this);
    m_browse->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_browseLabel->setBuddy(m_browse);

    m_matchCase = new QCheckBox(QStringLiteral("&Match Case Everywhere"), this);
    m_start = MakeButton(QStringLiteral("&Start"), this);
    m_ruleEditor = MakeButton(QStringLiteral("Rule &Editor"), this);
    m_help = MakeButton(QStringLiteral("&Help"), this);
    m_cancel = MakeButton(QStringLiteral("Ca&ncel"), this);

    auto* fileRow = new QGridLayout;
    fileRow->addWidget(m_ruleFileLabel, 0, 0, 1, 3);
    fileRow->addWidget(m_combo, 1, 0);
    fileRow->addWidget(m_browseLabel, 1, 1);
    fileRow->addWidget(m_browse, 1, 2);
    fileRow->setColumnStretch(0, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_start);
    buttons->addWidget(m_ruleEditor);
    buttons->addWidget(m_help);
    buttons->addWidget(m_cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fileRow);
    layout->addWidget(m_matchCase);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(m_combo, m_browse);
    setTabOrder(m_browse, m_matchCase);
    setTabOrder(m_matchCase, m_start);
    setTabOrder(m_start, m_ruleEditor);
    setTabOrder(m_ruleEditor, m_help);
    setTabOrder(m_help, m_cancel);

    // Opening: the recent rule files, Start off, match case from the document.
    for (const std::string& path : m_doc.recentRuleFiles) {
        m_listedBytes.push_back(path);
        m_combo->addItem(QString::fromStdString(path));
    }
    m_combo->setCurrentIndex(-1);
    // A rule file named on the command line is what the user asked to publish.
    const bool named = m_doc.ruleFileNamedOnCommandLine && !m_doc.ruleFilePath.empty();
    m_combo->setEditText(named ? QString::fromStdString(m_doc.ruleFilePath) : QString());
    m_start->setEnabled(named);
    m_matchCase->setChecked(m_doc.settings.matchCase);
    // The rule editor is plugged in by SetRuleEditor.
    m_ruleEditor->setEnabled(false);
    m_combo->setFocus(Qt::OtherFocusReason);

    m_combo->installEventFilter(this);
    m_combo->lineEdit()->installEventFilter(this);

    connect(m_combo, &QComboBox::activated, this, &CPublishDlg::OnPicked);
    connect(m_browse, &QPushButton::clicked, this, &CPublishDlg::OnBrowse);
    connect(m_start, &QPushButton::clicked, this, &CPublishDlg::OnStart);
    connect(m_ruleEditor, &QPushButton::clicked, this, &CPublishDlg::OnRuleEditor);
    setProperty(kHelpContextProperty, kHelpPublishDialog);
    connect(m_help, &QPushButton::clicked, this, &CPublishDlg::OnHelp);
    connect(m_cancel, &QPushButton::clicked, this, &CPublishDlg::reject);
}

CPublishDlg::~CPublishDlg() {
    // Hiding the dialog on its way out takes the focus from the combo, which
    // then reports a pick or a focus loss to a dialog that is no more.
    m_combo->lineEdit()->removeEventFilter(this);
    m_combo->removeEventFilter(this);
    m_combo->disconnect(this);
}

void CPublishDlg::SetRuleEditor(RuleEditorFlow flow) {
    m_ruleEditorFlow = std::move(flow);
    m_ruleEditor->setEnabled(static_cast<bool>(m_ruleEditorFlow));
}

QString CPublishDlg::RuleFileText() const { return m_combo->currentText(); }

std::string CPublishDlg::RuleFileBytes() const {
    const QString text = RuleFileText();
    for (std::size_t i = 0; i < m_listedBytes.size(); ++i)
        if (m_combo->itemText(static_cast<int>(i)) == text) return m_listedBytes[i];
    return text.toStdString();
}

void CPublishDlg::keyPressEvent(QKeyEvent* event) {
    // Only Start and Cancel close this dialog.
    if (IsEnterOrEscape(event)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool CPublishDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_combo || watched == m_combo->lineEdit()) {
        if (event->type() == QEvent::KeyPress && IsEnterOrEscape(static_cast<QKeyEvent*>(event))) {
            // Enter in the combo would pick a matching list entry.
            if (!m_combo->view()->isVisible()) return true;
        } else if (event->type() == QEvent::FocusOut) {
            // Opening the combo's own list is not leaving it.
            if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) OnComboFocusLost();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CPublishDlg::OnPicked() { m_start->setEnabled(true); }

void CPublishDlg::OnComboFocusLost() { m_start->setEnabled(!RuleFileText().isEmpty()); }

void CPublishDlg::EnableStartIfText() { m_start->setEnabled(!RuleFileText().isEmpty()); }

void CPublishDlg::OnBrowse() {
    FileDialogRequest request;
    request.caption = QStringLiteral("Select Rule File");
    request.directory = QString::fromStdString(m_doc.lastPath);
    request.filters = {FileDialogFilter(QStringLiteral("Rule Files (*.rul) "), QStringLiteral("*.rul")),
                       FileDialogFilter(QStringLiteral("All Files (*.*) "), QStringLiteral("*.*"))};
    const QString chosen = Prompts().ChooseFile(this, request);
    if (!chosen.isEmpty()) {
        m_combo->setEditText(chosen);
        const std::string folder = FolderOfFile(chosen.toStdString());
        m_doc.lastPath = folder;
        CSettingsStore().WriteString("Preferences", "LastPath", folder);
    }
    EnableStartIfText();
}

void CPublishDlg::OnStart() {
    // Nothing reaches the document before the path is known to be there, so
    // that a Cancel after a refused Start still leaves it untouched.
    if (RuleFileText().isEmpty()) {
        Prompts().Message(this, QStringLiteral("Webquill"), QStringLiteral("You must specify a Rule File!"),
                          PromptIcon::Warning, PromptButtons::Ok);
        m_combo->setFocus(Qt::OtherFocusReason);
        return;
    }
    m_doc.ruleFilePath = RuleFileBytes();
    m_doc.settings.matchCase = m_matchCase->isChecked();
    m_doc.AddRecentRuleFile(m_doc.ruleFilePath);
    accept();
}

void CPublishDlg::OnRuleEditor() {
    if (!m_ruleEditorFlow) return;
    if (const std::optional<QString> written = m_ruleEditorFlow(this, RuleFileText())) m_combo->setEditText(*written);
    EnableStartIfText();
}

void CPublishDlg::OnHelp() { ShowHelpTopic(this, kHelpPublishDialog); }

}  // namespace webquill
