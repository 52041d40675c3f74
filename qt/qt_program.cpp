#include "qt/qt_program.h"

#include "qt/automation.h"
#include "qt/main_window_view.h"
#include "qt/qt_host.h"
#include "qt/translations.h"

#include <QApplication>

#include <memory>

namespace ep::qt {

int RunQtProgram(int& argc, char** argv, const ProgramMainFunction& programMain) {
    QApplication application(argc, argv);
    InstallChineseTranslations(application);
    QtHost host;
    return programMain([&application](Window& window) {
        MainWindowView view(window);
        view.showCentred();
        std::unique_ptr<Automation> automation;
        if (AutomationRequested())
            automation = std::make_unique<Automation>(view, window);
        application.exec();
    });
}

} // namespace ep::qt
