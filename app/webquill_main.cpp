// webquill: the desktop program.
#include "quillet_app.h"

int main(int argc, char** argv) {
    webquill::CQuilletApp app(argc, argv);
    if (!app.InitInstance(QCoreApplication::arguments())) return 1;
    return app.exec();
}
