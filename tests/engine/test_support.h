// Temporary folders, real files and a recording host for engine tests.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "engine/publishing_run.h"
#include "engine/run_host.h"

namespace webquill::test {

// A folder of its own for each test, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::string File(const std::string& name) const { return (m_path / name).string(); }
    // Writes `bytes` to `name` (folders made as needed) and returns its path.
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::filesystem::path m_path;
};

std::string ReadFile(const std::string& path);

// A device that refuses every write as a full disk does: a node of its own in
// `dir` where this user may make one (as root), else the system's /dev/full
// when it is one; empty when there is neither. A test never writes through a
// link to the system's node, which a faulty save could replace.
std::string FullDevice(const TempDir& dir);
// Whether FullDevice can give one here.
bool HasFullDevice();

// What `write` gives, run with writes cut at `limit` bytes a file (0: none),
// as a full disk cuts them, also for a user whom permissions do not stop.
bool UnderFileSizeLimit(std::size_t limit, const std::function<bool()>& write);

struct RecordedBox { BoxKind kind; std::string text; };

// Keeps everything a run shows, in order.
class RecordingHost : public IRunHost {
public:
    void ShowLogLine(const std::string& line) override { shownLines.push_back(line); }
    void ShowStatusText(const std::string& text) override { statusTexts.push_back(text); }
    void PumpMessages() override { ++pumps; }
    void ShowMessageBox(BoxKind kind, const std::string& text) override { boxes.push_back({kind, text}); }

    std::vector<std::string> shownLines, statusTexts;
    std::vector<RecordedBox> boxes;
    int pumps = 0;
};

// A document and a run over it, with the rule text set directly.
struct RunFixture {
    RunDocument document;
    RecordingHost host;
    CPublishingRun run{document, host};
    // Every box shown, in order, each as "[note] text\n" or "[stop] text\n".
    std::string Boxes() const;
};

// "Kind first|second", then "|new" when there is a new text, " ::N" for an
// instance other than 1, " before" and " as name" when set.
std::string RecordText(const CCmdVar& r);

struct ProgramResult { int status = -1; std::string out, err; };

// Runs webquill-publish with `arguments` (already quoted as needed) in
// `workDir`, with its own settings folder.
ProgramResult RunPublishProgram(const std::string& arguments, const std::filesystem::path& workDir,
                                const std::string& environment = "");

// Splits program output into its lines (each ended by one LF).
std::vector<std::string> Lines(const std::string& output);

}  // namespace webquill::test
