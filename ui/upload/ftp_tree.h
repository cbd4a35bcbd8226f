// The server's directories and files below the login directory: listed when
// a branch is expanded, opened along a path, reporting the selected item.
#pragma once

#include <QTreeWidget>
#include <string>

namespace webquill {

class CFtpConnection;
class IUploadHost;

class CFtpTreeCtrl : public QTreeWidget {
    Q_OBJECT
public:
    enum Picture { NoConnection = 0, Folder = 1, File = 2 };

    explicit CFtpTreeCtrl(IUploadHost& host, QWidget* parent = nullptr);

    // Rebuilds the tree: "No FTP connection!" without a connection, else the
    // root with its first level listed, opened along `pathToOpen`.
    void Fill(CFtpConnection* connection, const std::string& root, const std::string& pathToOpen);
    // Lists one directory into `item`.
    void Populate(const std::string& fullPath, QTreeWidgetItem* item);
    std::string FullPath(const QTreeWidgetItem* item) const;

    // How many listings were asked of the server (for tests).
    int Listings() const { return m_listings; }

signals:
    // The item selected now: its full path and whether it has children.
    void SelectionReported(const QString& path, bool isDirectory);

private:
    void OnExpanded(QTreeWidgetItem* item);
    void ExpandByProgram(QTreeWidgetItem* item);
    QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const std::string& name, Picture picture);
    static std::string NameOf(const QTreeWidgetItem* item);

    IUploadHost& m_host;
    CFtpConnection* m_connection = nullptr;
    bool m_expandingByProgram = false;
    int m_listings = 0;
};

}  // namespace webquill
