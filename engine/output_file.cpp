#include "output_file.h"

namespace webquill {

COutputFile::~COutputFile() {
    if (m_file) std::fclose(m_file);
}

bool COutputFile::Open(const std::string& path) {
    m_failed = false;
    m_file = std::fopen(path.c_str(), "wb");
    return m_file != nullptr;
}

bool COutputFile::Write(std::string_view bytes) {
    if (!m_file || m_failed) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        m_failed = true;
    return !m_failed;
}

bool COutputFile::Close() {
    if (!m_file) return false;
    if (std::fflush(m_file) != 0) m_failed = true;
    if (std::fclose(m_file) != 0) m_failed = true;
    m_file = nullptr;
    return !m_failed;
}

}  // namespace webquill
