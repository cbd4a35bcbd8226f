// A file that replaces the one at its path only once it has been written
// whole: the bytes go to a temporary file in the same folder, which is
// renamed over the target when every byte has reached it. A failure at any
// point leaves the old file as it was. A target that exists and is not a
// regular file (a device, a pipe, standard output) is written where it is,
// never replaced.
#pragma once

#include <memory>
#include <string>
#include <string_view>

class QFileDevice;

namespace webquill {

class CReplacingFile {
public:
    explicit CReplacingFile(const std::string& path);
    ~CReplacingFile();
    CReplacingFile(const CReplacingFile&) = delete;
    CReplacingFile& operator=(const CReplacingFile&) = delete;

    // False when the file cannot be made; ErrorText() says why.
    bool Open();
    // False once any write failed; later writes are dropped.
    bool Write(std::string_view bytes);
    // Pushes every byte to the file and renames it over the target; false
    // (and the target untouched) when a write, the flush, the close or the
    // rename failed.
    bool Commit();
    // The file system's account of the first failure, or empty.
    const std::string& ErrorText() const { return m_error; }
    // What a failed save tells the user: the cause (`fallback` where the
    // system gave none), then which file was not saved.
    std::string FailureText(const char* fallback) const;

private:
    void Fail();

    std::string m_path;
    std::unique_ptr<QFileDevice> m_file;
    std::string m_error;
    bool m_inPlace = false;
    bool m_failed = false;
};

}  // namespace webquill
