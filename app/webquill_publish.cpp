// webquill-publish: a publishing run without the desktop, for batch use.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/upload/command_line_upload.h"
#include "engine/publishing_run.h"
#include "core/shell/quillet_doc.h"
#include "core/shell/version_info.h"
#include "core/editor/rule_file_tasks.h"
#include "platform/storage/settings_store.h"

namespace {

constexpr int kExitDone = 0;
constexpr int kExitStopped = 1;
constexpr int kExitUsage = 2;
constexpr int kExitOutputFailed = 3;

constexpr const char* kUsage =
    "usage: webquill-publish [--match-case] [--log FILE] RULEFILE\n"
    "       webquill-publish --check RULEFILE\n"
    "       webquill-publish --rewrite OUTFILE RULEFILE\n"
    "       webquill-publish [--match-case] [--log FILE] --upload [--changed-only] [--prune]\n"
    "                        [--dry-run] [--trust-new-host] RULEFILE\n"
    "       webquill-publish --version | --help\n"
    "  --match-case       compare letters with their case in every pattern search\n"
    "  --log FILE         save the run's log to FILE in the saved-log format\n"
    "  --check            read and parse everything a run reads, run no command,\n"
    "                     write no file (exit 0 usable, 1 not)\n"
    "  --rewrite OUTFILE  load RULEFILE as the rule editor does and write it to\n"
    "                     OUTFILE with the rule editor's writer (exit 0 written,\n"
    "                     1 load failed, 3 write failed)\n"
    "  --upload           after a run that ends with status 0, send its pages, TOC\n"
    "                     file and images to the rule file's FtpURL (exit 4 when\n"
    "                     the connection fails, a file is not sent or SIGINT or\n"
    "                     SIGTERM stops the upload); an sftp:// site logs in\n"
    "                     with the password, else with the key (its passphrase\n"
    "                     in WEBQUILL_SFTP_PASSPHRASE)\n"
    "  --changed-only     send only files whose size or SHA-256 differs from the\n"
    "                     server's manifest of earlier uploads\n"
    "  --prune            delete files that the manifest lists and the site no\n"
    "                     longer has, and no others\n"
    "  --dry-run          print what would be sent, kept and deleted, with counts;\n"
    "                     write nothing on the server\n"
    "  --trust-new-host   with --upload: trust an SFTP server not yet in\n"
    "                     ~/.ssh/known_hosts and add its key there\n"
    "  --version          print the program's version and end\n"
    "  --help             print this text and end\n";

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
    webquill::UploadChoices uploadChoices;
    bool trustNewHost = false;
    std::string logFile;
    std::string ruleFile;
    bool check = false;
    std::string rewriteTo;
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
        } else if (!optionsEnded && std::strcmp(arg, "--version") == 0) {
            std::fputs(webquill::VersionText("webquill-publish").c_str(), stdout);
            return kExitDone;
        } else if (!optionsEnded && std::strcmp(arg, "--check") == 0) {
            line.check = true;
        } else if (!optionsEnded && std::strcmp(arg, "--rewrite") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0') return Usage("--rewrite needs a file name");
            line.rewriteTo = argv[++i];
        } else if (!optionsEnded && std::strcmp(arg, "--match-case") == 0) {
            line.matchCase = true;
        } else if (!optionsEnded && std::strcmp(arg, "--upload") == 0) {
            line.upload = true;
        } else if (!optionsEnded && std::strcmp(arg, "--changed-only") == 0) {
            line.uploadChoices.changedOnly = true;
        } else if (!optionsEnded && std::strcmp(arg, "--prune") == 0) {
            line.uploadChoices.prune = true;
        } else if (!optionsEnded && std::strcmp(arg, "--dry-run") == 0) {
            line.uploadChoices.dryRun = true;
        } else if (!optionsEnded && std::strcmp(arg, "--trust-new-host") == 0) {
            line.trustNewHost = true;
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
    if (line.trustNewHost && !line.upload) return Usage("--trust-new-host goes with --upload");
    if (line.check && !line.rewriteTo.empty()) return Usage("--check and --rewrite exclude each other");
    if (line.upload && (line.check || !line.rewriteTo.empty()))
        return Usage("--upload follows a publishing run only");
    const webquill::UploadChoices& choices = line.uploadChoices;
    if (!line.upload && (choices.changedOnly || choices.prune || choices.dryRun))
        return Usage("--changed-only, --prune and --dry-run go with --upload");
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file size limit a write fails and is reported, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    CommandLine line;
    if (const int status = ReadCommandLine(argc, argv, line); status >= 0) return status;

    // The settings reach the run as they reach a new log window's document.
    webquill::CSettingsStore store;
    webquill::CQuilletDoc document(store);
    document.LoadSettings();
    if (line.matchCase) document.settings.matchCase = true;
    document.ruleFilePath = line.ruleFile;

    CConsoleHost host;
    int status = kExitDone;
    bool logIsInput = false;
    if (!line.rewriteTo.empty()) {
        std::string failure;
        const webquill::RewriteOutcome rewritten =
            webquill::RewriteRuleFile(document, host, line.rewriteTo, &failure);
        if (rewritten == webquill::RewriteOutcome::LoadFailed) status = kExitStopped;
        if (rewritten == webquill::RewriteOutcome::WriteFailed) {
            std::fprintf(stderr, "webquill-publish: couldn't write %s: %s\n", line.rewriteTo.c_str(),
                         failure.c_str());
            status = kExitOutputFailed;
        }
    } else {
        webquill::CPublishingRun run(document, host);
        if (!line.logFile.empty()) run.AlsoWrites("Log file", line.logFile);
        // A check reads and parses as a run does, then ends before the first command.
        const webquill::RunOutcome outcome =
            run.RunPublishing(line.check ? webquill::RunScope::ReadAndParse : webquill::RunScope::Whole);
        if (outcome == webquill::RunOutcome::Stopped) status = kExitStopped;
        if (outcome == webquill::RunOutcome::CompletedWithOutputErrors) status = kExitOutputFailed;
        // A log named like an input was refused by the run and is never written.
        logIsInput = !line.logFile.empty() && run.IsInputFile(line.logFile);
    }
    if (!line.logFile.empty() && !logIsInput) {
        // The log may go where standard output goes: what was printed comes first.
        std::fflush(stdout);
        const webquill::DocumentFileResult saved = document.SaveLog(line.logFile);
        if (!saved.Ok()) {
            std::fprintf(stderr, "webquill-publish: couldn't write the log to %s\n%s\n", line.logFile.c_str(),
                         saved.message.c_str());
            if (status == kExitDone) status = kExitOutputFailed;
        }
    }
    if (line.upload && status == kExitDone)
        status = webquill::UploadFromCommandLine(document, store, line.uploadChoices, line.trustNewHost);
    return status;
}
