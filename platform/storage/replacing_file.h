// A file that replaces the one at its path only once it has been written
// whole: the bytes go to a temporary file in the same folder, which is
// renamed over the target when it closes without error. A failure at any
// point leaves the old file as it was.
#pragma once

#include <memory>
#include <string>
#include <string_view>

class QSaveFile;

namespace webquill {

class CReplacingFile {
public:
    explicit CReplacingFile(const std::string& path);
    ~CReplacingFile();
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // False when the temporary file cannot be made; ErrorText() says why.
    bool Open();
    // False once any write failed; later writes are dropped.
    bool Write(std::string_view bytes);
    // Renames the written file over the target; false (and the target
    // untouched) when a write, the close or the rename failed.
    bool Commit();
    // The file system's account of the first failure, or empty.
    const std::string& ErrorText() const { return m_error; }

private:
    std::unique_ptr<QSaveFile> m_file;
    std::string m_error;
    bool m_failed = false;
};

}  // namespace webquill
