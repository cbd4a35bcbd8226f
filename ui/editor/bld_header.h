// The Header Info page: the seven file names of the rule file's header, one
// browse button for all of them, and a marker beside the field it fills.
#pragma once

#include <array>

#include "ui/editor/sheet_page.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace webquill {

struct RuleWorkingSet;

class CBldHeader : public CSheetPage {
    Q_OBJECT
public:
    static constexpr int kFieldCount = 7;

    explicit CBldHeader(RuleWorkingSet& set, QWidget* parent = nullptr);

    void OnSetActive() override;
    bool OnKillActive() override;

    QLineEdit* Field(int index) const { return m_fields.at(static_cast<std::size_t>(index)); }
    QLabel* Marker(int index) const { return m_markers.at(static_cast<std::size_t>(index)); }
    QPushButton* BrowseButton() const { return m_browse; }
    int CurrentIndex() const { return m_current; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetCurrent(int index);
    void OnBrowse();

    RuleWorkingSet& m_set;
    std::array<QLineEdit*, kFieldCount> m_fields{};
    std::array<QLabel*, kFieldCount> m_markers{};
    QPushButton* m_browse = nullptr;
    int m_current = 0;
    bool m_firstActivation = true;
};

}  // namespace webquill
