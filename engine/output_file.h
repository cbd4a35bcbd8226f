// A file the run writes: created or truncated, every write checked, and the
// first failure remembered so the caller reports it once.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace webquill {

class COutputFile {
public:
    COutputFile() = default;
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;
    ~COutputFile();

    bool Open(const std::string& path);
    bool Write(std::string_view bytes);
    // Flushes and closes; false when any write or the close failed.
    bool Close();
    bool Failed() const { return m_failed; }
    bool IsOpen() const { return m_file != nullptr; }

private:
    std::FILE* m_file = nullptr;
    bool m_failed = false;
};

}  // namespace webquill
