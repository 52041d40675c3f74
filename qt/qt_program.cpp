#include "qt/qt_program.h"

#include "qt/main_window_view.h"
#include "qt/qt_host.h"

#include <QApplication>

namespace ep::qt {

int RunQtProgram(int& argc, char** argv, const ProgramMainFunction& programMain) {
    QApplication application(argc, argv);
    QtHost host;
    return programMain([&application](Window& window) {
        MainWindowView view(window);
        view.showCentred();
        application.exec();
    });
}

} // namespace ep::qt
