#include "tool/headless_panel.h"

#include "app/program_globals.h"
#include "app/program_main.h"
#include "handlers/limit_handlers.h"
#include "link/connection.h"
#include "link/device_link.h"
#include "link/dump_collection.h"
#include "link/link_globals.h"
#include "model/blocks.h"
#include "model/controls.h"
#include "runtime/host.h"
#include "tool/no_answer.h"
#include "ui/user_input.h"

namespace ep {
namespace {

/// Long enough for an echo that left the device before the ping timer stopped.
constexpr int kEchoSettleMs = 100;

} // namespace

HeadlessPanel::HeadlessPanel(LimitBoxes limitBoxes) {
    InitialiseGlobals();
    HandlerRegistry handlers = ProgramHandlers();
    if (limitBoxes == LimitBoxes::Still)
        handlers.add(kLimitBoxHandler, [](const EventContext&) {});
    m_window = OpenMainWindow(handlers);
}

HeadlessPanel::~HeadlessPanel() {
    m_window.reset();
    ReleaseGlobals();
}

std::optional<Text> HeadlessPanel::comeOnline(int timeoutMs, const Text& ports) {
    // Inside the wait, so that a connect attempt that a device or the network holds counts in its time.
    CurrentHost().postToUi([] { ControlNamed(controls::ConnectTimer).raise(event::TimerTick); });
    const SerialLink& link = PortLink();
    bool answered = false;
    CurrentHost().runUntil(
        [&] {
            answered = answered || IsOnline();
            return SetShown() || NoPortCanOpen(link);
        },
        timeoutMs);
    if (SetShown())
        return std::nullopt;
    return WhyNoSet(link, answered, ports);
}

void HeadlessPanel::holdTheLinkStill() {
    PauseLinkTimers();
    runFor(kEchoSettleMs);
}

std::optional<Text> HeadlessPanel::readBack(int timeoutMs) {
    UserClickedButton(ControlNamed(controls::ReadButton));
    // The collection's own deadline gives a dump up that does not come, and the panel goes offline; a set
    // that is asked for again has that time twice.
    if (!CurrentHost().runUntil([] { return DumpActive == 0; }, std::max(timeoutMs, 2 * kDumpDeadlineMs + 100)) ||
        !SetShown())
        return std::nullopt;
    return EffectSetText();
}

void HeadlessPanel::runFor(int milliseconds) {
    bool done = false;
    const Host::TimerId timer = CurrentHost().startTimer(milliseconds, [&done] { done = true; });
    CurrentHost().runUntil([&done] { return done; }, milliseconds + 1000);
    CurrentHost().stopTimer(timer);
}

} // namespace ep
