#pragma once
/// What only the platform can tell about a serial device: how many bytes its output queue still holds,
/// whether it is still there, and why it cannot be opened. Empty or true where the platform does not tell.

#include "runtime/host.h"

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

/// Why the system refuses to open the device, asked after Qt reported a permission error: Qt reports a
/// device that another program holds (opened exclusively, or locked by its lock file) as one too.
SerialOpenError RefusedOpenError(const std::string& path);

/// Forgets the error number that a refused modem-line request left behind (a pseudo-terminal has no
/// modem lines), so that Qt does not later report it as a read error.
void ForgetLastSystemError();

} // namespace ep::qt
