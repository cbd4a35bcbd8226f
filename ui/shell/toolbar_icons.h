// The toolbar's pictures, drawn at 16 by 15 pixels.
#pragma once

#include <QIcon>

namespace webquill {

enum class ToolbarPicture { New, Open, Save, Upload, Print, Contents, Application };
QIcon ToolbarIcon(ToolbarPicture picture);

}  // namespace webquill
