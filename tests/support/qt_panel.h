#pragma once
/// The panel inside a test or benchmark on the real Qt host, started as the program starts it (globals,
/// window from its definition with every handler, created event), with or without its view shown.
/// Message boxes are recorded and answered, file dialogs answered from a list, so nothing waits for a user.

#include "link/device_link.h"
#include "qt/main_window_view.h"
#include "qt/qt_host.h"
#include "ui/window.h"

#include <functional>
#include <memory>
#include <vector>

namespace ep::testing {

class AnsweringQtHost : public qt::QtHost {
  public:
    MessageBoxButton showMessageBox(const MessageBoxRequest& request) override;
    std::optional<Text> showFileDialog(const FileDialogRequest& request) override;

    std::vector<MessageBoxRequest> messageBoxes;
    /// Runs inside each box, which it then closes with the next of the answers, OK when none is left.
    std::function<void(const MessageBoxRequest&)> onMessageBox;
    std::vector<MessageBoxButton> answers;
    /// Taken one a dialog; a dialog finds none cancelled.
    std::vector<Text> fileDialogAnswers;
};

/// Whether the window's view mirrors the model, as in the program.
enum class View { Shown, None };

class QtPanel {
  public:
    /// Needs the QApplication to exist.
    QtPanel() = default;
    ~QtPanel();
    QtPanel(const QtPanel&) = delete;
    QtPanel& operator=(const QtPanel&) = delete;

    void start(View view = View::None);
    void stop();

    /// Runs the event loop until the condition holds; false when the time ran out.
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs);
    /// Runs the event loop for this long.
    void runFor(int milliseconds);

    static bool SetShown() { return ep::SetShown(); }

    Window& window() { return *m_window; }
    qt::MainWindowView* view() { return m_view.get(); }

    AnsweringQtHost host;

  private:
    std::unique_ptr<Window> m_window;
    std::unique_ptr<qt::MainWindowView> m_view;
};

} // namespace ep::testing
