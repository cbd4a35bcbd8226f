// One log window: the child frame that owns its document and view.
#pragma once

#include <QMdiSubWindow>
#include <memory>

namespace webquill {

class CQuilletDoc;
class CQuilletView;
class CSettingsStore;

class CChildFrame : public QMdiSubWindow {
    Q_OBJECT
public:
    CChildFrame(std::unique_ptr<CQuilletDoc> document, QWidget* parent = nullptr);
    ~CChildFrame() override;

    CQuilletDoc& Document() { return *m_doc; }
    CQuilletView& View() { return *m_view; }

    // The saved log this window was read from or last saved to; empty for a
    // new window.
    const QString& PathName() const { return m_pathName; }
    void SetPathName(const QString& path);
    // "Quille1", "Quille2", ... for new windows, the file name otherwise.
    const QString& Title() const { return m_title; }
    void SetTitle(const QString& title);

    // Close without the save-changes question (Close All); still never while
    // the window's run or fill is under way.
    bool CloseDiscarding();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool AskSaveChanges();

    std::unique_ptr<CQuilletDoc> m_doc;
    CQuilletView* m_view = nullptr;
    QString m_pathName;
    QString m_title;
    bool m_discardChanges = false;
};

}  // namespace webquill
