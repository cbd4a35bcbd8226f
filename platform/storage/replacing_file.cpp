#include "platform/storage/replacing_file.h"

#include <QFile>
#include <QSaveFile>

namespace webquill {

CReplacingFile::CReplacingFile(const std::string& path)
    : m_file(std::make_unique<QSaveFile>(QFile::decodeName(QByteArray::fromStdString(path)))) {
    // Never fall back to writing over the target in place.
    m_file->setDirectWriteFallback(false);
}

CReplacingFile::~CReplacingFile() {
    if (m_file->isOpen()) m_file->cancelWriting();
}

bool CReplacingFile::Open() {
    if (m_file->fileName().isEmpty() || !m_file->open(QIODevice::WriteOnly)) {
        m_error = m_file->errorString().toStdString();
        m_failed = true;
        return false;
    }
    return true;
}

bool CReplacingFile::Write(std::string_view bytes) {
    if (m_failed || !m_file->isOpen()) return false;
    qint64 done = 0;
    while (done < static_cast<qint64>(bytes.size())) {
        const qint64 n = m_file->write(bytes.data() + done, static_cast<qint64>(bytes.size()) - done);
        if (n <= 0) {
            m_error = m_file->errorString().toStdString();
            m_failed = true;
            m_file->cancelWriting();
            return false;
        }
        done += n;
    }
    return true;
}

bool CReplacingFile::Commit() {
    if (m_failed || !m_file->isOpen()) {
        if (m_file->isOpen()) m_file->cancelWriting();
        return false;
    }
    if (!m_file->commit()) {
        m_error = m_file->errorString().toStdString();
        m_failed = true;
        return false;
    }
    return true;
}

}  // namespace webquill
