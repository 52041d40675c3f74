#include "link/connection.h"

#include "link/com_ports.h"
#include "link/device_frames.h"
#include "link/device_link.h"
#include "link/dump_collection.h"
#include "link/link_globals.h"
#include "link/serial_port_kind.h"
#include "model/colours.h"
#include "model/controls.h"
#include "runtime/conversions.h"
#include "runtime/dialogs.h"

namespace ep {
namespace {

constexpr int kConnectWaitMs = 500;

void SetPeriod(const char* timer, int periodMs) { ControlNamed(timer).write(prop::timer::Period, periodMs); }

} // namespace

void PortScan() {
    Control& port = ControlNamed(controls::Port);
    SerialLink& link = LinkOf(port);
    for (int number = 1; number <= kHighestComPort; ++number) {
        port.write(serialprop::PortNumber, number);
        if (link.Open() == 1) {
            ControlNamed(controls::FoundPortBox).write(prop::editbox::Content, ToText(Value(number)));
            FoundPort = number;
            link.Close();
        }
    }
}

void ConnectTick(const EventContext&) {
    if (!IsOfflineCaption())
        return;
    PortScan();
    Delay(kConnectWaitMs);
    Control& port = ControlNamed(controls::Port);
    port.write(serialprop::PortNumber, FoundPort);
    // A port that does not open leaves the hello unsent; the next tick tries again.
    static_cast<void>(LinkOf(port).Open());
    SendHelloFrame();
    SetPeriod(controls::PingTimer, kPingPeriodMs);
}

void PingTick(const EventContext&) {
    // An echo that arrived inside a dump would be taken as one of its values.
    if (!IsOnline() || DumpActive == 1)
        return;
    SendPingByte();
    SetPeriod(controls::Watchdog, kWatchdogPeriodMs);
}

void GoOffline() {
    Control& status = ControlNamed(controls::StatusLabel);
    status.write(prop::label::Caption, Text("未联机"));
    status.write(prop::label::BackgroundColour, kRed);
    SetPeriod(controls::PingTimer, 0);
    SetPeriod(controls::Watchdog, 0);
    // A dump the device never finished would keep the hello answer from being heard again.
    AbandonDumpCollection();
}

void WatchdogTick(const EventContext&) { GoOffline(); }

void PauseLinkTimers() {
    SetPeriod(controls::PingTimer, 0);
    SetPeriod(controls::Watchdog, 0);
}

void ResumeLinkTimers() {
    SetPeriod(controls::PingTimer, kPingPeriodMs);
    SetPeriod(controls::Watchdog, kWatchdogPeriodMs);
}

} // namespace ep
