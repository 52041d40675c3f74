#pragma once
/// The panel's window and handlers on the real Qt host, with COM10 on a simulated processor served on a
/// pseudo-terminal and COM1..COM9 mapped to paths that do not exist, so no real device is touched.

#include "link/device_link.h"
#include "link/link_globals.h"
#include "qt_panel.h"
#include "sim/design_values.h"
#include "sim/pty_server.h"
#include "test_ports.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <filesystem>

#include <unistd.h>

#include <gtest/gtest.h>

namespace ep::testing {

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
        MapTestPorts(options.linkPath);
    }

    /// Starts the panel as the program does, without its view.
    void startPanel() {
        panel.start();
        window = &panel.window();
    }

    void TearDown() override {
        panel.stop();
        simulator.stop();
    }

    bool waitUntil(const std::function<bool()>& condition, int timeoutMs) {
        return panel.waitUntil(condition, timeoutMs);
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
    bool setShown() { return QtPanel::SetShown(); }

    static Text TextOf(const sim::ValueSet& values) { return sim::ThreeDigitText(values); }

    QtPanel panel;
    AnsweringQtHost& host = panel.host;
    sim::PtyServer simulator;
    Window* window = nullptr;
};

} // namespace ep::testing
