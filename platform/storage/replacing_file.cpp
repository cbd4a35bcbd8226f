#include "platform/storage/replacing_file.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace webquill {

namespace {
QString FileName(const std::string& path) { return QFile::decodeName(QByteArray::fromStdString(path)); }

// Something that must be written where it is: an existing target that is not
// a regular file, or one reached through the process's own descriptors
// (/dev/stdout, /dev/fd/N), whose file the caller's output may share.
bool WrittenInPlace(const QString& path) {
    const QFileInfo target(path);
    if (!target.exists() || target.isDir()) return false;
    if (!target.isFile()) return true;
    QString hop = target.absoluteFilePath();
    for (int hops = 0; hops < 40 && QFileInfo(hop).isSymLink(); ++hops) {
        if (hop.startsWith(QLatin1String("/proc/"))) return true;
        hop = QFileInfo(hop).symLinkTarget();
    }
    return hop.startsWith(QLatin1String("/proc/"));
}
}  // namespace

CReplacingFile::CReplacingFile(const std::string& path) : m_path(path) {}

CReplacingFile::~CReplacingFile() {
    if (m_file && m_file->isOpen() && !m_inPlace) static_cast<QSaveFile*>(m_file.get())->cancelWriting();
}

void CReplacingFile::Fail() {
    if (m_error.empty()) m_error = m_file->errorString().toStdString();
    m_failed = true;
    if (!m_file->isOpen()) return;
    if (m_inPlace)
        m_file->close();
    else
        static_cast<QSaveFile*>(m_file.get())->cancelWriting();
}

bool CReplacingFile::Open() {
    const QString name = FileName(m_path);
    m_inPlace = !name.isEmpty() && WrittenInPlace(name);
    if (m_inPlace) {
        m_file = std::make_unique<QFile>(name);
    } else {
        auto file = std::make_unique<QSaveFile>(name);
        // Never fall back to writing over the target in place.
        file->setDirectWriteFallback(false);
        m_file = std::move(file);
    }
    // In place, the bytes follow what is there: standard output redirected to
    // a file keeps what the program printed before.
    const QIODevice::OpenMode mode = m_inPlace ? QIODevice::WriteOnly | QIODevice::Append : QIODevice::WriteOnly;
    if (name.isEmpty() || !m_file->open(mode)) {
        Fail();
        return false;
    }
    return true;
}

bool CReplacingFile::Write(std::string_view bytes) {
    if (m_failed || !m_file || !m_file->isOpen()) return false;
    qint64 done = 0;
    while (done < static_cast<qint64>(bytes.size())) {
        const qint64 n = m_file->write(bytes.data() + done, static_cast<qint64>(bytes.size()) - done);
        if (n <= 0) {
            Fail();
            return false;
        }
        done += n;
    }
    return true;
}

bool CReplacingFile::Commit() {
    if (m_failed || !m_file || !m_file->isOpen()) {
        if (m_file && m_file->isOpen()) Fail();
        return false;
    }
    // Qt's commit does not notice a failure of the flush inside it (a full
    // disk) and would rename a cut file over the target: flush first.
    if (!m_file->flush() || m_file->error() != QFileDevice::NoError) {
        Fail();
        return false;
    }
    if (m_inPlace) {
        m_file->close();
        if (m_file->error() != QFileDevice::NoError) {
            m_error = m_file->errorString().toStdString();
            m_failed = true;
        }
        return !m_failed;
    }
    if (!static_cast<QSaveFile*>(m_file.get())->commit()) {
        m_error = m_file->errorString().toStdString();
        m_failed = true;
        return false;
    }
    return true;
}

std::string CReplacingFile::FailureText(const char* fallback) const {
    std::string text = (m_error.empty() ? std::string(fallback) : m_error) + "\n" + m_path + " was not saved.";
    // The save goes through a temporary file beside the target: a folder the
    // user may not write to refuses it even where the file itself is writable.
    const QFileInfo folder(QFileInfo(FileName(m_path)).absolutePath());
    if (!m_inPlace && folder.isDir() && !folder.isWritable())
        text += "\nThe folder " + QFile::encodeName(folder.filePath()).toStdString() +
                " must be writable: the file is saved through a temporary file beside it.";
    return text;
}

}  // namespace webquill
