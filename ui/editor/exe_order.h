// The Execute Order page: the five execute-sequence slots as rows, moved
// with Up and Down, stored back as the page is left.
#pragma once

#include "ui/editor/sheet_page.h"

class QListWidget;
class QPushButton;

namespace webquill {

struct RuleWorkingSet;

class CExeOrder : public CSheetPage {
    Q_OBJECT
public:
    explicit CExeOrder(RuleWorkingSet& set, QWidget* parent = nullptr);

    void OnSetActive() override;
    bool OnKillActive() override;

    QListWidget* List() const { return m_list; }
    QPushButton* UpButton() const { return m_up; }
    QPushButton* DownButton() const { return m_down; }

private:
    void Move(int by);
    void SetButtons();

    RuleWorkingSet& m_set;
    QListWidget* m_list = nullptr;
    QPushButton* m_up = nullptr;
    QPushButton* m_down = nullptr;
    int m_selected = 0;
};

}  // namespace webquill
