// The property sheet of the rule editor and the options: tabbed pages with
// OK, Cancel and Help (no Apply). Help shows the active page's topic.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

class QPushButton;
class QTabWidget;

namespace webquill {

class CSheetPage;

class CMySheet : public QDialog {
    Q_OBJECT
public:
    explicit CMySheet(const QString& caption, QWidget* parent = nullptr);

    // Adds a page as the next tab; the sheet owns it.
    void AddPage(CSheetPage* page);
    int PageCount() const { return static_cast<int>(m_pages.size()); }
    CSheetPage* Page(int index) const { return m_pages.at(static_cast<std::size_t>(index)); }
    CSheetPage* ActivePage() const;
    int ActiveIndex() const;
    // Turns to a page as a click on its tab does: the active page may refuse.
    bool SetActivePage(int index);

    QTabWidget* Tabs() const { return m_tabs; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    QPushButton* HelpButton() const { return m_help; }

    // A check of the whole after the active page's own, which OK must pass
    // too; it says why it refuses.
    void SetAcceptCheck(std::function<bool()> check) { m_acceptCheck = std::move(check); }

    // Cancel and Escape ask before they throw away what the user changed.
    void SetAskBeforeDiscarding(bool ask) { m_askBeforeDiscarding = ask; }
    bool Changed() const { return m_changed; }
    // A size that shows every tab, never wider than the screen, centred on
    // `over` (kept on the screen).
    void FitAndCentreOn(QWidget* over);

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    // Ctrl+Tab, Ctrl+PgDown and their backward forms turn the pages from
    // any field, also from those that take Tab or PgDown for themselves.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnTabChanged(int index);
    void Activate(int index);
    void WatchForChanges(QWidget* page);

    QTabWidget* m_tabs = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    QPushButton* m_help = nullptr;
    std::vector<CSheetPage*> m_pages;
    int m_current = -1;  // the page whose OnSetActive ran last
    bool m_turningBack = false;
    bool m_askBeforeDiscarding = false;
    bool m_changed = false;
    std::function<bool()> m_acceptCheck;
};

}  // namespace webquill
