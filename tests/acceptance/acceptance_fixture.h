#pragma once
/// One user task a test: the real program in its own process, offscreen, with COM10 on a simulated
/// processor served on a pseudo-terminal behind a fixed link, and COM1..COM9 on paths that do not exist.

#include "sim/pty_server.h"
#include "spawned_program.h"

#include <gtest/gtest.h>

#include <string>

namespace ep::acceptance {

class Acceptance : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    /// Serves the simulated processor behind the link that the program knows as COM10.
    void plugDevice(sim::ServerOptions options = {});
    /// Starts the program with COM1..COM9 on absent paths and COM10 on the plugged device's link; more
    /// arguments follow these.
    void startProgram(const std::vector<std::string>& moreArguments = {});
    /// Waits for "已联机" and for the window to show the device's whole set.
    void expectOnlineWithTheDevicesSet();

    /// The EffectSet as the window holds it.
    std::string windowSet() { return program.value("read 编辑框7"); }
    /// The simulator's 255 values in the EffectSet's form.
    std::string deviceSet() const;
    /// Waits until the device's memory equals the window's EffectSet.
    bool deviceFollowsTheWindow(int timeoutMs = 3000);
    /// Waits until field 1..255 of the device holds the value.
    bool deviceFieldBecomes(int field, int value, int timeoutMs = 3000);
    /// Waits until the device's memory holds the set: the last frames may be on their way when the window
    /// is done.
    bool deviceSetBecomes(const std::string& set, int timeoutMs = 3000);
    /// Waits until the condition holds; false when the time ran out.
    static bool Eventually(const std::function<bool()>& condition, int timeoutMs = 3000);
    int deviceField(int field) const { return simulator.values()[static_cast<std::size_t>(field - 1)]; }
    /// Waits for the file dialog and enters the path into it; false when no dialog came.
    bool answerFileDialog(const std::string& path);
    /// Waits for a message box, presses its default button and returns its TITLE|TEXT ("none" if none came).
    std::string answerMessageBox(int timeoutMs = 5000);
    std::string folderPath(const std::string& name) const { return m_folder + "/" + name; }

    sim::PtyServer simulator;
    testing::SpawnedProgram program;

  private:
    std::string m_folder;
};

/// A task that starts with the program online and showing the device's set.
class OnlineAcceptance : public Acceptance {
  protected:
    void SetUp() override;
    /// The device the task starts with: the factory values unless a task says otherwise.
    virtual sim::ServerOptions device() const { return {}; }
};

} // namespace ep::acceptance
