#pragma once
/// The panel's window and handlers on the real Qt host, with COM10 on a simulated processor served on a
/// pseudo-terminal and COM1..COM9 mapped to paths that do not exist, so no real device is touched.

#include "app/program_main.h"
#include "link/com_ports.h"
#include "link/device_link.h"
#include "link/link_globals.h"
#include "link/serial_port_kind.h"
#include "params/block_display.h"
#include "params/param_globals.h"
#include "qt/qt_host.h"
#include "runtime/resources.h"
#include "sets/apply_effect_set.h"
#include "sim/pty_server.h"
#include "ui/window_definition.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include <filesystem>

#include <unistd.h>

#include <gtest/gtest.h>

namespace ep::testing {

/// The Qt host with its modal boxes and dialogs answered by the test, which records them.
class AnsweringQtHost : public qt::QtHost {
  public:
    MessageBoxButton showMessageBox(const MessageBoxRequest& request) override {
        messageBoxes.push_back(request);
        if (onMessageBox)
            onMessageBox(request);
        return MessageBoxButton::Ok;
    }
    std::optional<Text> showFileDialog(const FileDialogRequest&) override {
        if (fileDialogAnswers.empty())
            return std::nullopt;
        auto answer = fileDialogAnswers.front();
        fileDialogAnswers.erase(fileDialogAnswers.begin());
        return answer;
    }

    std::vector<MessageBoxRequest> messageBoxes;
    std::function<void(const MessageBoxRequest&)> onMessageBox;
    std::vector<Text> fileDialogAnswers;
};

class PanelFixture : public ::testing::Test {
  protected:
    /// COM10 goes through a link that disappears when the simulator hangs up: the freed pty number may
    /// be taken by another test's pty meanwhile.
    void startSimulator(sim::ServerOptions options = {}) {
        if (options.linkPath.empty())
            options.linkPath =
                (std::filesystem::temp_directory_path() / ("effectpanel-e2e-com10-" + std::to_string(::getpid())))
                    .string();
        ASSERT_TRUE(simulator.start(options)) << simulator.error();
        for (int number = 1; number <= 9; ++number)
            MapComPort(number, "/nonexistent/effectpanel-com" + std::to_string(number));
        MapComPort(10, options.linkPath);
    }

    /// Builds the window, wires the layers and runs the created handler, as start-up does.
    void startPanel() {
        RegisterSerialPortKind();
        SetApplyEffectSetRoutine(ApplyEffectSet);
        SetBlockDisplayRoutines({ShowMusicEqPage, ShowMicBlock, ShowKtvBlock});
        window = BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition));
        window->resolveBindings(ProgramHandlers());
        SetLoadedWindow(window.get());
        window->self().raise(event::Created);
    }

    void TearDown() override {
        window.reset();
        simulator.stop();
    }

    /// Runs the event loop until the condition holds; false when the time ran out.
    bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
        QElapsedTimer clock;
        clock.start();
        while (!condition()) {
            if (clock.elapsed() > timeoutMs)
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
        return true;
    }

    /// Waits for the device's values and the EffectSet to agree: what the panel sent may still be on its
    /// way, or not yet applied by the device, when the panel is done.
    ::testing::AssertionResult deviceAgreesWithThePanel(int timeoutMs = 3000) {
        if (waitUntil([this] { return TextOf(simulator.values()) == EffectSetText(); }, timeoutMs))
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "panel  " << EffectSetText() << "\ndevice " << TextOf(simulator.values());
    }

    bool online() { return IsOnline(); }
    bool setShown() { return IsOnline() && DumpActive == 0 && EffectSetText().size() == 765; }

    static Text TextOf(const sim::ValueSet& values) { return sim::ThreeDigitText(values); }

    AnsweringQtHost host;
    sim::PtyServer simulator;
    std::unique_ptr<Window> window;
};

} // namespace ep::testing
