#pragma once
/// The main window with every handler, on the test host, built once per fuzzing process; reset() brings
/// it back to the design-time set between inputs.

#include "fake_serial.h"
#include "ui/window.h"

namespace ep::fuzzing {

class FuzzWindow {
  public:
    static FuzzWindow& instance();
    void reset(bool online);
    testing::TestHost& host() { return m_host; }

  private:
    FuzzWindow();
    testing::TestHost m_host;
    testing::FakeSerialBus m_bus;
    std::unique_ptr<Window> m_window;
    Text m_designSet;
};

/// Aborts with the message when the condition does not hold, so that the fuzzer reports the input.
void Require(bool condition, const char* message);

} // namespace ep::fuzzing
