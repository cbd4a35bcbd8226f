#include "engine/output_file.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

#include "engine/file_paths.h"

namespace webquill {

namespace fs = std::filesystem;

namespace {
// A link is followed, so the link stays and its target is replaced.
std::string FinalTarget(const std::string& path, fs::file_status& status) {
    std::error_code error;
    fs::path target = path;
    status = fs::symlink_status(target, error);
    for (int hops = 0; hops < 40 && fs::is_symlink(status); ++hops) {
        const fs::path link = fs::read_symlink(target, error);
        if (error) break;
        target = link.is_absolute() ? link : target.parent_path() / link;
        status = fs::symlink_status(target, error);
    }
    return target.string();
}

// A name of its own beside the target, created exclusively so that no other
// file is ever written through it.
std::FILE* CreateBeside(const std::string& target, std::string& temporary) {
    const std::size_t slash = LastSeparator(target);
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    static std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        char suffix[24];
        std::snprintf(suffix, sizeof suffix, ".%012llx", static_cast<unsigned long long>(random() & 0xffffffffffffULL));
        temporary = folder + "." + name + suffix;
        if (std::FILE* file = std::fopen(temporary.c_str(), "wbx")) return file;
        if (errno != EEXIST) break;  // the folder refuses, not the name
    }
    temporary.clear();
    return nullptr;
}

// The permissions this process gives a file it creates, learned from the
// first temporary file: a replaced file whose mode is that needs no change.
fs::perms NewFilePermissions(const std::string& created) {
    static std::atomic<int> learned{-1};
    int known = learned.load(std::memory_order_relaxed);
    if (known < 0) {
        std::error_code error;
        const fs::file_status status = fs::status(created, error);
        if (error) return fs::perms::unknown;
        known = static_cast<int>(status.permissions());
        learned.store(known, std::memory_order_relaxed);
    }
    return static_cast<fs::perms>(known);
}

}  // namespace

COutputFile::~COutputFile() { Discard(); }

// Whole pages go to the file in one write where they fit.
std::FILE* COutputFile::Buffered(std::FILE* file) {
    if (!file) return nullptr;
    if (!m_buffer) m_buffer = std::make_unique<char[]>(kBufferSize);
    std::setvbuf(file, m_buffer.get(), _IOFBF, kBufferSize);
    return file;
}

void COutputFile::Discard() {
    if (m_file) std::fclose(m_file);
    m_file = nullptr;
    if (!m_temporary.empty()) std::remove(m_temporary.c_str());
    if (m_created) std::remove(m_target.c_str());
    m_temporary.clear();
    m_created = false;
}

bool COutputFile::Open(const std::string& path) {
    Discard();
    m_failed = false;
    // A name not taken yet has nothing to protect: the file is made in place,
    // exclusively, so that no link or other file is written through it, and
    // removed again if it is not written whole.
    if ((m_file = Buffered(std::fopen(path.c_str(), "wbx")))) {
        m_target = path;
        m_created = true;
        return true;
    }
    if (errno != EEXIST) return false;
    fs::file_status existing;
    m_target = FinalTarget(path, existing);
    if (fs::is_directory(existing)) return false;
    // A device or a pipe has no old contents to keep: it is written directly.
    if (fs::exists(existing) && !fs::is_regular_file(existing)) {
        m_file = Buffered(std::fopen(m_target.c_str(), "wb"));
        return m_file != nullptr;
    }
    m_file = Buffered(CreateBeside(m_target, m_temporary));
    if (!m_file) return false;
    if (fs::exists(existing) && existing.permissions() != NewFilePermissions(m_temporary)) {
        std::error_code error;
        fs::permissions(m_temporary, existing.permissions(), error);
    }
    return true;
}

bool COutputFile::Write(std::string_view bytes) {
    if (!m_file || m_failed) return false;
    if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size())
        m_failed = true;
    return !m_failed;
}

bool COutputFile::Flush() {
    if (!m_file || m_failed) return false;
    if (std::fflush(m_file) != 0) m_failed = true;
    return !m_failed;
}

bool COutputFile::Close() {
    if (!m_file) return false;
    if (std::fflush(m_file) != 0) m_failed = true;
    if (std::fclose(m_file) != 0) m_failed = true;
    m_file = nullptr;
    if (!m_temporary.empty()) {
        std::error_code error;
        if (!m_failed) fs::rename(m_temporary, m_target, error);
        if (error) m_failed = true;
        if (m_failed) std::remove(m_temporary.c_str());
        m_temporary.clear();
    }
    if (m_created && m_failed) std::remove(m_target.c_str());
    m_created = false;
    return !m_failed;
}

}  // namespace webquill
