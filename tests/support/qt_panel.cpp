#include "qt_panel.h"

#include "app/program_globals.h"
#include "app/program_main.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "model/blocks.h"

#include <QElapsedTimer>

namespace ep::testing {
MessageBoxButton AnsweringQtHost::showMessageBox(const MessageBoxRequest& request) {
    messageBoxes.push_back(request);
    if (onMessageBox)
        onMessageBox(request);
    if (answers.empty())
        return MessageBoxButton::Ok;
    const MessageBoxButton answer = answers.front();
    answers.erase(answers.begin());
    return answer;
}

std::optional<Text> AnsweringQtHost::showFileDialog(const FileDialogRequest&) {
    if (fileDialogAnswers.empty())
        return std::nullopt;
    Text answer = fileDialogAnswers.front();
    fileDialogAnswers.erase(fileDialogAnswers.begin());
    return answer;
}

QtPanel::~QtPanel() { stop(); }

void QtPanel::start(View view) {
    InitialiseGlobals();
    m_window = OpenMainWindow();
    if (view == View::Shown) {
        m_view = std::make_unique<qt::MainWindowView>(*m_window);
        m_view->showCentred();
    }
}

void QtPanel::stop() {
    m_view.reset();
    m_window.reset();
    ReleaseGlobals();
}

bool QtPanel::waitUntil(const std::function<bool()>& condition, int timeoutMs) {
    return host.runUntil(condition, timeoutMs);
}

void QtPanel::runFor(int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    waitUntil([&clock, milliseconds] { return clock.elapsed() >= milliseconds; }, milliseconds + 100);
}

} // namespace ep::testing
