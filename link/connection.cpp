#include "link/connection.h"

#include "link/device_frames.h"
#include "link/device_link.h"
#include "link/dump_collection.h"
#include "link/link_globals.h"
#include "link/serial_port_kind.h"
#include "runtime/conversions.h"
#include "runtime/dialogs.h"

namespace ep {
namespace {

constexpr int kHighestComPort = 10;
constexpr int kConnectWaitMs = 500;

} // namespace

void PortScan() {
    Control& port = ControlNamed("端口");
    SerialLink& link = LinkOf(port);
    for (int number = 1; number <= kHighestComPort; ++number) {
        port.write(serialprop::PortNumber, number);
        if (link.Open() == 1) {
            ControlNamed("编辑框").write(prop::editbox::Content, ToText(Value(number)));
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
    Control& port = ControlNamed("端口");
    port.write(serialprop::PortNumber, FoundPort);
    LinkOf(port).Open();
    SendHelloFrame();
    ControlNamed("时钟1").write(prop::timer::Period, kPingPeriodMs);
}

void PingTick(const EventContext&) {
    // An echo that arrived inside a dump would be taken as one of its values.
    if (!IsOnline() || DumpActive == 1)
        return;
    SendPingByte();
    ControlNamed("时钟2").write(prop::timer::Period, kWatchdogPeriodMs);
}

void GoOffline() {
    Control& status = ControlNamed("标签127");
    status.write(prop::label::Caption, Text("未联机"));
    status.write(prop::label::BackgroundColour, kRed);
    ControlNamed("时钟1").write(prop::timer::Period, 0);
    ControlNamed("时钟2").write(prop::timer::Period, 0);
    // A dump the device never finished would keep the hello answer from being heard again.
    AbandonDumpCollection();
}

void WatchdogTick(const EventContext&) { GoOffline(); }

} // namespace ep
