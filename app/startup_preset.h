#pragma once
/// The preset named on the command line (a double click on a .tonset file), loaded as 打开文件 loads it
/// once the window is up. The panel starts offline, and an offline load only waits in the EffectSet until
/// the device's own set replaces it, so the load waits first for the device's set to be shown, or for
/// the time a device on the line needs to be found and read.

#include "runtime/host.h"
#include "runtime/value.h"

namespace ep {

/// The connect tick, the hello and its answer, and the dump at 960 bytes/s, with room to spare.
inline constexpr int kStartupPresetWaitMs = 5000;

class StartupPreset {
  public:
    /// Needs the window open and the host set; an empty path loads nothing.
    explicit StartupPreset(Text path);
    ~StartupPreset();
    StartupPreset(const StartupPreset&) = delete;
    StartupPreset& operator=(const StartupPreset&) = delete;

  private:
    void tick();

    Text m_path;
    Host::TimerId m_timer = 0;
    bool m_waiting = false;
    int m_waitedMs = 0;
};

} // namespace ep
