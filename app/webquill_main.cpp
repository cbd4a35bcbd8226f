// webquill: the desktop program.
#include <csignal>

#include "ui/shell/quillet_app.h"

int main(int argc, char** argv) {
#ifdef SIGXFSZ
    // Past a file size limit a write fails and is reported, instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    webquill::CQuilletApp app(argc, argv);
    if (!app.InitInstance(QCoreApplication::arguments())) return 1;
    return app.exec();
}
