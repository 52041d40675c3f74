#pragma once
/// What only the platform can tell about an open serial device: how many bytes its output queue still
/// holds, and whether the device is still there. Empty or true where the platform does not tell.

#include <QSerialPort>

#include <optional>
#include <string>

namespace ep::qt {

std::optional<int> PendingOutputBytes(QSerialPort& port);

/// False once the device hung up or went away.
bool DeviceStillThere(QSerialPort& port);

/// True when the platform names its serial devices by paths and there is nothing at this one; false
/// where it cannot tell without opening the device.
bool DeviceNodeMissing(const std::string& path);

/// Forgets the error number that a refused modem-line request left behind (a pseudo-terminal has no
/// modem lines), so that Qt does not later report it as a read error.
void ForgetLastSystemError();

} // namespace ep::qt
