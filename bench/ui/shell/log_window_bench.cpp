// What the log window adds to a run: the whole-run benchmark's 4,200-page
// publish once with a quiet host and once in a log window of the main window,
// status bar shown, that shows every line and status text as it is written
// and drains messages when the run asks; then the
// window's log saved, read back and shown, and a saved log at the 32000-line
// limit read and shown. The runs write 32 MB each, so on a disk the later
// rounds wait for its write-back; TMPDIR=/dev/shm leaves the disk out.
#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/engine/bench_support.h"
#include "bench/engine/chaptered_manual.h"
#include "ui/shell/child_frame.h"
#include "ui/shell/main_frame.h"
#include "ui/shell/quillet_app.h"
#include "engine/publishing_run.h"
#include "core/shell/quillet_doc.h"
#include "ui/shell/quillet_view.h"
#include "platform/storage/settings_store.h"

namespace fs = std::filesystem;
using namespace webquill;
using namespace webquill::bench;

namespace {

// Picks the rule file in the publish dialog as from its list and presses
// Start, as soon as the dialog is up.
void AnswerPublishDialog(const QString& ruleFile) {
    auto* timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, ruleFile] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog) return;
        auto* combo = dialog->findChild<QComboBox*>();
        combo->insertItem(0, ruleFile);
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        for (QPushButton* button : dialog->findChildren<QPushButton*>())
            if (button->text() == QStringLiteral("&Start")) button->click();
        timer->deleteLater();
    });
    timer->start(1);
}

double ReadAndShow(CQuilletDoc& doc, CQuilletView& view, const std::string& path) {
    return TimeOnce([&] {
        if (!doc.OpenSavedLog(path, false, nullptr).Ok()) std::abort();
        view.LayoutList();
        view.FillList(0, doc.logLines.size());
    });
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    const fs::path dir = fs::temp_directory_path() / "webquill-log-window-bench";
    fs::remove_all(dir);
    fs::create_directories(dir);
    qputenv("XDG_CONFIG_HOME", (dir / "config").string().c_str());
    CQuilletApp app(argc, argv);
    WriteChapteredSite(dir);
    const fs::path cwd = fs::current_path();
    fs::current_path(dir);

    // Best of five each, alternating, after one run that warms the page cache.
    const std::string ruleFile = (dir / "run.rul").string();
    RunDocument quietDocument;
    QuietHost quietHost;
    auto runQuietly = [&] {
        quietDocument = RunDocument();
        quietDocument.ruleFilePath = ruleFile;
        CPublishingRun run(quietDocument, quietHost);
        return TimeOnce([&] { run.RunPublishing(); });
    };
    CSettingsStore store;
    CQuilletDoc doc(store);
    CMainFrame frame(app);
    frame.resize(1000, 700);
    frame.show();
    std::vector<std::string> windowLines;
    auto runInWindow = [&] {
        CChildFrame* child = frame.NewDocument();
        AnswerPublishDialog(QString::fromStdString(ruleFile));
        const double seconds = TimeOnce([&] { child->View().BeginPublishing(); });
        windowLines = child->Document().logLines;
        child->CloseDiscarding();
        return seconds;
    };
    runQuietly();
    double quiet = 1e9, shown = 1e9;
    for (int round = 0; round < 5; ++round) {
        const double q = runQuietly(), w = runInWindow();
        std::fprintf(stderr, "round %d: %.1f %.1f\n", round, q * 1e3, w * 1e3);
        quiet = std::min(quiet, q);
        shown = std::min(shown, w);
    }
    const std::size_t runLines = windowLines.size();
    const bool sameLines = windowLines == quietDocument.logLines && runLines > 4000;
    doc.logLines = windowLines;
    CQuilletView view(doc);
    view.resize(900, 600);
    view.show();

    const std::string runLog = (dir / "run.prl").string();
    const double saved = TimeOnce([&] { doc.SaveLog(runLog); });
    const double reread = ReadAndShow(doc, view, runLog);

    std::string longLog;
    for (std::size_t i = 1; i <= kSavedLogLineLimit; ++i)
        longLog += "***> Line " + std::to_string(i) + " of a long log: " + std::string(200, 'x') + "\r\n";
    WriteBytes(dir / "long.prl", longLog);
    const double longRead = ReadAndShow(doc, view, (dir / "long.prl").string());
    const bool longShown = view.ShownLineCount() == static_cast<int>(kSavedLogLineLimit);

    fs::current_path(cwd);
    fs::remove_all(dir);
    std::printf("run with a quiet host:                %8.1f ms\n", quiet * 1e3);
    std::printf("same run in a log window, status bar shown (%zu lines): %8.1f ms (%.2f of quiet)\n", runLines,
                shown * 1e3,
                shown / quiet);
    std::printf("save that log:                        %8.1f ms\n", saved * 1e3);
    std::printf("read it back and show it:             %8.1f ms\n", reread * 1e3);
    std::printf("read and show %zu lines (%zu bytes): %8.1f ms\n", kSavedLogLineLimit, longLog.size(),
                longRead * 1e3);
    if (!sameLines || !longShown) std::printf("the window's lines are not the run's lines\n");
    return sameLines && longShown ? 0 : 1;
}
