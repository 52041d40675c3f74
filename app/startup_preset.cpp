#include "app/startup_preset.h"

#include "handlers/file_handlers.h"
#include "link/device_link.h"
#include "link/link_globals.h"

namespace ep {
namespace {

constexpr int kCheckPeriodMs = 100;

} // namespace

StartupPreset::StartupPreset(Text path) : m_path(std::move(path)) {
    if (m_path.empty())
        return;
    m_waiting = true;
    m_timer = CurrentHost().startTimer(kCheckPeriodMs, [this] { tick(); });
}

StartupPreset::~StartupPreset() {
    if (m_waiting)
        CurrentHost().stopTimer(m_timer);
}

void StartupPreset::tick() {
    m_waitedMs += kCheckPeriodMs;
    // A dump under way is the device's set arriving: the load would only be overwritten by it.
    const bool gaveUpOnTheDevice = m_waitedMs >= kStartupPresetWaitMs && DumpActive == 0;
    if (!SetShown() && !gaveUpOnTheDevice)
        return;
    // Stopped first: the load may show a box, inside which this timer would tick again.
    CurrentHost().stopTimer(m_timer);
    m_waiting = false;
    LoadPresetFile(m_path);
}

} // namespace ep
