// webquill: the desktop program.
#include <csignal>
#include <cstdio>
#include <cstring>

#include "core/shell/version_info.h"
#include "ui/shell/quillet_app.h"

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file size limit a write fails and is reported, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    // Answered before any window system is asked for, so it works without a display.
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs(webquill::VersionText("webquill").c_str(), stdout);
            return 0;
        }
    webquill::CQuilletApp app(argc, argv);
    if (!app.InitInstance(QCoreApplication::arguments())) return 1;
    return app.exec();
}
