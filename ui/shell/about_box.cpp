#include "ui/shell/about_box.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace webquill {

namespace {

constexpr int kIconSize = 32;

// A quill on a page, for a program that was started without an icon of its own.
QPixmap DrawnProgramIcon() {
    QPixmap pixmap(kIconSize, kIconSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(60, 60, 60), 1));
    painter.setBrush(Qt::white);
    painter.drawRect(5, 3, 18, 25);
    painter.setPen(QPen(QColor(120, 120, 120), 1));
    for (int y = 9; y <= 23; y += 4) painter.drawLine(8, y, 19, y);
    painter.setPen(QPen(QColor(30, 60, 140), 2));
    painter.drawLine(14, 26, 29, 4);
    painter.setBrush(QColor(70, 110, 200));
    painter.setPen(Qt::NoPen);
    const QPointF feather[] = {{29, 3}, {25, 13}, {20, 16}, {24, 8}};
    painter.drawPolygon(feather, 4);
    return pixmap;
}

QLabel* SunkenField(const QString& text, QWidget* parent) {
    auto* field = new QLabel(parent);
    field->setTextFormat(Qt::PlainText);
    field->setText(text);
    field->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field->setTextInteractionFlags(Qt::TextSelectableByMouse);
    field->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    field->setMargin(6);
    field->setMinimumWidth(260);
    return field;
}

}  // namespace

QString ContactDetails() {
    return QStringLiteral("Tessaly\nsupport@tessaly.example\nhttps://tessaly.example/webquill");
}

CAboutDlg::CAboutDlg(const QString& aboutText, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("About Quillet"));

    m_programIcon = new QLabel(this);
    const QIcon windowIcon = QApplication::windowIcon();
    m_programIcon->setPixmap(windowIcon.isNull() ? DrawnProgramIcon() : windowIcon.pixmap(kIconSize, kIconSize));
    m_companyIcon = new QLabel(this);
    m_companyIcon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(kIconSize, kIconSize));

    m_aboutText = SunkenField(aboutText, this);
    m_contact = SunkenField(ContactDetails(), this);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setDefault(true);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* grid = new QGridLayout;
    grid->addWidget(m_programIcon, 0, 0, Qt::AlignTop);
    grid->addWidget(m_aboutText, 0, 1);
    grid->addWidget(m_companyIcon, 1, 0, Qt::AlignTop);
    grid->addWidget(m_contact, 1, 1);
    grid->setColumnStretch(1, 1);
    grid->setHorizontalSpacing(12);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    m_ok->setFocus(Qt::OtherFocusReason);
}

}  // namespace webquill
