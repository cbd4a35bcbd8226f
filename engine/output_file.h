// A file the run writes: every write checked and the first failure
// remembered so the caller reports it once. An existing regular file is
// written to a temporary file beside it and renamed over it only when it was
// closed without error, so a failed write leaves the old file whole; a new
// one is made in place and removed again when it is not written whole.
#pragma once

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

namespace webquill {

class COutputFile {
public:
    COutputFile() = default;
    COutputFile(const COutputFile&) = delete;
    COutputFile& operator=(const COutputFile&) = delete;
    // A file never closed is dropped: its temporary file goes, the target stays.
    ~COutputFile();

    bool Open(const std::string& path);
    bool Write(std::string_view bytes);
    // Pushes what is buffered to the file, so a failure shows now.
    bool Flush();
    // Flushes, closes and puts the file in place; false when any write, the
    // close or the rename failed (the target is then unchanged).
    bool Close();
    bool Failed() const { return m_failed; }
    bool IsOpen() const { return m_file != nullptr; }

private:
    static constexpr std::size_t kBufferSize = 1 << 16;
    void Discard();
    std::FILE* Buffered(std::FILE* file);

    std::FILE* m_file = nullptr;
    bool m_failed = false;
    std::string m_target;     // where the file goes when it is closed
    std::string m_temporary;  // empty when written in place
    bool m_created = false;   // made by this file: removed unless written whole
    std::unique_ptr<char[]> m_buffer;
};

}  // namespace webquill
