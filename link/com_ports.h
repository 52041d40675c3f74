#pragma once
/// Which platform device a COM port number stands for. On Windows COM n is "\\.\COMn"; on Linux a default
/// table puts the USB adapters above the built-in ports, and the command line can map any number to any
/// device.

#include "runtime/value.h"

namespace ep {

/// The COM ports are numbered 1 to this.
constexpr int kHighestComPort = 10;

/// The device path of COM port number (1..10); empty for a number outside the table.
Text ComDevicePath(int number);

/// The platform's device for the number, which a mapping replaces; empty outside 1..10.
Text DefaultComDevicePath(int number);

/// Maps COM port number to the device for the rest of the run.
void MapComPort(int number, const Text& devicePath);

} // namespace ep
