// webquill-publish: a publishing run without the desktop, for batch use.
#include <cstdio>
#include <cstring>
#include <string>

#include "command_line_upload.h"
#include "publishing_run.h"
#include "quillet_doc.h"
#include "settings_store.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitStopped = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOutputFailed = 3;

constexpr const char* kUsage =
    "usage: webquill-publish [--match-case] [--log FILE] RULEFILE\n"
    "       webquill-publish [--match-case] [--log FILE] --upload RULEFILE\n"
    "  --match-case  compare letters with their case in every pattern search\n"
    "  --log FILE    save the run's log to FILE in the saved-log format\n"
    "  --upload      after a run that ends with status 0, send its pages, TOC file\n"
    "                and images to the rule file's FtpURL (exit 4 when the\n"
    "                connection fails or a file is not sent)\n";

// Log lines go to standard output as they are written, message boxes to
// standard error; status texts have no place here.
class CConsoleHost : public webquill::IRunHost {
public:
    void ShowLogLine(const std::string& line) override { WriteLine(stdout, line); }
    void ShowStatusText(const std::string&) override {}
    void PumpMessages() override {}
    void ShowMessageBox(webquill::BoxKind, const std::string& text) override {
        WriteLine(stderr, text);
    }

private:
    static void WriteLine(std::FILE* to, const std::string& text) {
        std::fwrite(text.data(), 1, text.size(), to);
        std::fputc('\n', to);
        std::fflush(to);
    }
};

struct CommandLine {
    bool matchCase = false;
    bool upload = false;
    std::string logFile;
    std::string ruleFile;
};

int Usage(const char* problem) {
    if (problem) std::fprintf(stderr, "webquill-publish: %s\n", problem);
    std::fputs(kUsage, stderr);
    return kExitUsage;
}

// Returns -1 when the command line is usable, else the exit status.
int ReadCommandLine(int argc, char** argv, CommandLine& line) {
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const char* arg = argv[i];
        if (!optionsEnded && std::strcmp(arg, "--") == 0) {
            optionsEnded = true;
        } else if (!optionsEnded && std::strcmp(arg, "--help") == 0) {
            std::fputs(kUsage, stdout);
            return kExitDone;
        } else if (!optionsEnded && std::strcmp(arg, "--match-case") == 0) {
            line.matchCase = true;
        } else if (!optionsEnded && std::strcmp(arg, "--upload") == 0) {
            line.upload = true;
        } else if (!optionsEnded && std::strcmp(arg, "--log") == 0) {
            if (i + 1 >= argc) return Usage("--log needs a file name");
            line.logFile = argv[++i];
        } else if (!optionsEnded && std::strncmp(arg, "--log=", 6) == 0) {
            line.logFile = arg + 6;
            if (line.logFile.empty()) return Usage("--log needs a file name");
        } else if (!optionsEnded && arg[0] == '-' && arg[1] != '\0') {
            return Usage((std::string("unknown option ") + arg).c_str());
        } else if (line.ruleFile.empty()) {
            line.ruleFile = arg;
        } else {
            return Usage("only one rule file can be published at a time");
        }
    }
    if (line.ruleFile.empty()) return Usage("no rule file named");
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    if (const int status = ReadCommandLine(argc, argv, line); status >= 0) return status;

    // The settings reach the run as they reach a new log window's document.
    webquill::CSettingsStore store;
    webquill::CQuilletDoc document(store);
    document.LoadSettings();
    if (line.matchCase) document.settings.matchCase = true;
    document.ruleFilePath = line.ruleFile;

    CConsoleHost host;
    webquill::CPublishingRun run(document, host);
    const webquill::RunOutcome outcome = run.RunPublishing();

    int status = kExitDone;
    if (outcome == webquill::RunOutcome::Stopped) status = kExitStopped;
    if (outcome == webquill::RunOutcome::CompletedWithOutputErrors) status = kExitOutputFailed;
    if (!line.logFile.empty() && !document.SaveLog(line.logFile).Ok()) {
        std::fprintf(stderr, "webquill-publish: couldn't write the log to %s\n", line.logFile.c_str());
        if (status == kExitDone) status = kExitOutputFailed;
    }
    if (line.upload && status == kExitDone) status = webquill::UploadFromCommandLine(document, store);
    return status;
}
