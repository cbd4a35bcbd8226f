// One page of a property sheet (`CMySheet`): a caption for its tab, a help
// context, and the hooks the sheet calls as the user turns its pages.
#pragma once

#include <QString>
#include <QWidget>

namespace webquill {

class CSheetPage : public QWidget {
    Q_OBJECT
public:
    CSheetPage(const QString& caption, int helpContext, QWidget* parent = nullptr);

    const QString& Caption() const { return m_caption; }
    int HelpContext() const { return m_helpContext; }
    // True once the page has been brought to the front in this sheet.
    bool WasShown() const { return m_wasShown; }

    // Brought to the front, the first time included: fill the controls.
    virtual void OnSetActive() {}
    // Turned away from, or OK pressed while in front: check and store the
    // controls. A page that refuses says why and returns Refuse(field): it
    // stays in front with the focus in that field.
    virtual bool OnKillActive() { return true; }
    // The sheet was cancelled: called for every page that was shown.
    virtual void OnReset() {}

signals:
    // The page changed what it holds by a means of its own (a command
    // deleted or appended, an order moved), not by typing into a field.
    void Changed();

protected:
    bool Refuse(QWidget* field);

private:
    friend class CMySheet;
    QWidget* m_refusalFocus = nullptr;
    QString m_caption;
    int m_helpContext;
    bool m_wasShown = false;
};

}  // namespace webquill
