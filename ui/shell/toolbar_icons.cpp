#include "ui/shell/toolbar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace webquill {

namespace {
void DrawPage(QPainter& p) {
    QPainterPath page;
    page.moveTo(3, 1);
    page.lineTo(10, 1);
    page.lineTo(13, 4);
    page.lineTo(13, 14);
    page.lineTo(3, 14);
    page.closeSubpath();
    p.setBrush(Qt::white);
    p.drawPath(page);
    p.drawLine(10, 1, 10, 4);
    p.drawLine(10, 4, 13, 4);
}
}  // namespace

QIcon ToolbarIcon(ToolbarPicture picture) {
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QColor(40, 40, 40));
    switch (picture) {
        case ToolbarPicture::New:
            DrawPage(p);
            break;
        case ToolbarPicture::Open:
            p.setBrush(QColor(230, 200, 90));
            p.drawRect(1, 4, 13, 9);
            p.drawRect(1, 2, 5, 2);
            break;
        case ToolbarPicture::Save:
            p.setBrush(QColor(60, 90, 160));
            p.drawRect(1, 1, 13, 13);
            p.setBrush(Qt::white);
            p.drawRect(4, 1, 7, 5);
            p.drawRect(3, 9, 9, 5);
            break;
        case ToolbarPicture::Upload:
            p.setBrush(QColor(40, 140, 60));
            p.drawPolygon(QPolygon({QPoint(8, 1), QPoint(14, 7), QPoint(10, 7), QPoint(10, 13),
                                    QPoint(6, 13), QPoint(6, 7), QPoint(2, 7)}));
            break;
        case ToolbarPicture::Print:
            p.setBrush(Qt::white);
            p.drawRect(4, 1, 8, 5);
            p.setBrush(QColor(150, 150, 150));
            p.drawRect(1, 6, 14, 6);
            p.setBrush(Qt::white);
            p.drawRect(4, 10, 8, 4);
            break;
        case ToolbarPicture::Contents:
            p.setBrush(QColor(120, 60, 140));
            p.drawRect(2, 1, 11, 13);
            p.setPen(Qt::white);
            p.drawLine(5, 4, 11, 4);
            p.drawLine(5, 7, 11, 7);
            p.drawLine(5, 10, 9, 10);
            break;
        case ToolbarPicture::Application:
            DrawPage(p);
            p.setPen(QColor(160, 30, 30));
            p.drawLine(5, 12, 11, 3);
            p.drawLine(5, 12, 6, 9);
            break;
    }
    return QIcon(pixmap);
}

}  // namespace webquill
