#pragma once
/// A device that the panel opens as a serial port: a QSerialPort, or a TCP connection for a path
/// "tcp:HOST:PORT". It is created, used and closed only in the device's reader thread; the UI thread hands
/// it writes and waits for them.

#include "runtime/host.h"

namespace ep::qt {

SerialOpenResult OpenSerialDevice(const Text& devicePath, const SerialLineSettings& settings, SerialReceiver& receiver);

} // namespace ep::qt
