// The main window's two status panes, as the log windows write them.
#pragma once

#include <QString>

namespace webquill {

class IStatusPanes {
public:
    virtual ~IStatusPanes() = default;
    virtual void SetPaneText(int pane, const QString& text) = 0;
    virtual QString PaneText(int pane) const = 0;
};

}  // namespace webquill
