#include "ui/upload/ftp_tree.h"

#include <QApplication>
#include <QStyle>

#include <vector>

#include "platform/desktop/byte_text.h"
#include "platform/ftp/ftp_connection.h"
#include "core/upload/upload_host.h"

namespace webquill {

namespace {
constexpr int kNameRole = Qt::UserRole;         // the name's bytes
constexpr int kPictureRole = Qt::UserRole + 1;  // CFtpTreeCtrl::Picture

// Holds the wait cursor for one scope.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};
}  // namespace

CFtpTreeCtrl::CFtpTreeCtrl(IUploadHost& host, QWidget* parent) : QTreeWidget(parent), m_host(host) {
    setHeaderHidden(true);
    setColumnCount(1);
    setIconSize(QSize(16, 15));
    connect(this, &QTreeWidget::itemExpanded, this, &CFtpTreeCtrl::OnExpanded);
    connect(this, &QTreeWidget::itemSelectionChanged, this, [this] {
        const QList<QTreeWidgetItem*> selected = selectedItems();
        if (selected.isEmpty() || !m_connection) return;
        emit SelectionReported(QString::fromStdString(FullPath(selected.front())), selected.front()->childCount() > 0);
    });
}

std::string CFtpTreeCtrl::NameOf(const QTreeWidgetItem* item) {
    return item->data(0, kNameRole).toByteArray().toStdString();
}

QTreeWidgetItem* CFtpTreeCtrl::AddItem(QTreeWidgetItem* parent, const std::string& name, Picture picture) {
    static const QStyle::StandardPixmap pixmaps[] = {QStyle::SP_MessageBoxWarning, QStyle::SP_DirIcon,
                                                     QStyle::SP_FileIcon};
    auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
    item->setText(0, ShownText(name));
    item->setData(0, kNameRole, QByteArray::fromStdString(name));
    item->setData(0, kPictureRole, picture);
    item->setIcon(0, style()->standardIcon(pixmaps[picture]));
    return item;
}

std::string CFtpTreeCtrl::FullPath(const QTreeWidgetItem* item) const {
    // Names from the leaf up, joined from the root down.
    std::vector<std::string> names;
    for (; item; item = item->parent()) names.push_back(NameOf(item));
    std::string path;
    for (auto name = names.rbegin(); name != names.rend(); ++name) {
        if (name != names.rbegin()) path += '/';
        path += *name;
    }
    return path;
}

void CFtpTreeCtrl::Fill(CFtpConnection* connection, const std::string& root, const std::string& pathToOpen) {
    WaitCursor wait;
    clear();
    if (!connection) {
        setRootIsDecorated(false);
        AddItem(nullptr, "No FTP connection!", NoConnection);
        m_connection = nullptr;
        return;
    }
    m_connection = connection;
    QTreeWidgetItem* rootItem = AddItem(nullptr, root, Folder);
    AddItem(rootItem, root, Folder);
    m_host.ShowMessageCenter("Expanding: " + root);
    ExpandByProgram(rootItem);
    if (rootItem->childCount() == 0) {
        setRootIsDecorated(false);
    } else {
        setRootIsDecorated(true);
        QTreeWidgetItem* current = rootItem;
        std::string rest = pathToOpen;
        while (!rest.empty()) {
            if (rest.front() == '/') rest.erase(0, 1);
            const std::size_t slash = rest.find('/');
            const std::string component = rest.substr(0, slash);
            rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
            QTreeWidgetItem* found = nullptr;
            for (int i = 0; i < current->childCount() && !found; ++i)
                if (NameOf(current->child(i)) == component) found = current->child(i);
            if (!found) break;
            m_host.ShowMessageCenter("Expanding " + component);
            if (found->childCount() == 0) {
                setCurrentItem(found);
                QFont bold = found->font(0);
                bold.setBold(true);
                found->setFont(0, bold);
                break;
            }
            ExpandByProgram(found);
            current = found;
        }
    }
    m_host.ShowMessageCenter("");
}

void CFtpTreeCtrl::ExpandByProgram(QTreeWidgetItem* item) {
    OnExpanded(item);
    m_expandingByProgram = true;
    item->setExpanded(true);
    m_expandingByProgram = false;
}

// Collapsing never reaches here: only an expansion lists its directory.
void CFtpTreeCtrl::OnExpanded(QTreeWidgetItem* item) {
    if (m_expandingByProgram || !m_connection) return;
    WaitCursor wait;
    const std::string path = FullPath(item);
    m_host.ShowMessageCenter("Expanding " + path);
    Populate(path, item);
    m_host.ShowMessageCenter("");
}

void CFtpTreeCtrl::Populate(const std::string& fullPath, QTreeWidgetItem* item) {
    qDeleteAll(item->takeChildren());
    WaitCursor wait;
    std::vector<FtpEntry> entries;
    ++m_listings;
    if (!m_connection->List(fullPath, entries)) return;
    bool sawDirectory = false;
    for (const FtpEntry& entry : entries) {
        m_host.ShowMessageCenter((entry.isDirectory ? "Adding Dir: " : "Adding File: ") + entry.name);
        AddItem(item, entry.name, entry.isDirectory ? Folder : File);
        sawDirectory = sawDirectory || entry.isDirectory;
    }
    if (!sawDirectory) return;
    for (int i = 0; i < item->childCount(); ++i)
        if (item->child(i)->data(0, kPictureRole).toInt() == Folder) AddItem(item->child(i), "1", Folder);
}

}  // namespace webquill
