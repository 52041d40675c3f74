#pragma once
/// Finding the processor and keeping the OnlineState: the port scan, and the tick handlers of the connect
/// timer 时钟3, the ping timer 时钟1 and the watchdog 时钟2.

#include "ui/window.h"

namespace ep {

/// The period of the connect timer, and those of the ping timer and the watchdog while online.
constexpr int kConnectPeriodMs = 1000;
constexpr int kPingPeriodMs = 500;
constexpr int kWatchdogPeriodMs = 3000;

/// Tries COM1..COM10 in order; the highest that opens wins (FoundPort and 编辑框), each is closed again.
void PortScan();

void ConnectTick(const EventContext& context);
void PingTick(const EventContext& context);
void WatchdogTick(const EventContext& context);

/// Caption "未联机" on red, both link timers stopped, an unfinished dump given up.
void GoOffline();

/// Stops the ping timer and the watchdog, so that neither comes between the frames of a send-all, and
/// starts them again afterwards.
void PauseLinkTimers();
void ResumeLinkTimers();

} // namespace ep
