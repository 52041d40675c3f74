#pragma once
/// The SerialPort control kind: its twelve own properties (8..19) with their defaults and clamping, and
/// the stored form that the window definition carries. Values take effect only at the next Open.

#include "runtime/host.h"
#include "ui/kinds.h"

namespace ep::serialprop {
constexpr int PortNumber = 8;
constexpr int BaudRate = 9;
constexpr int DataBits = 10;
constexpr int StopBits = 11;
constexpr int ParityCheck = 12;
constexpr int EventChar = 13;
constexpr int Timeout = 14;
constexpr int AutoOpen = 15;
constexpr int Parity = 16;
constexpr int FlowControl = 17;
constexpr int RtsControl = 18;
constexpr int DtrControl = 19;
} // namespace ep::serialprop

namespace ep {

/// Registers the kind with the control model; before the window is loaded.
void RegisterSerialPortKind();

/// Reads the stored block (format versions 1..4) into the control; false for a version above 4 or a
/// block that ends early.
bool LoadSerialPortBlock(Control& port, const Bytes& block);

/// The line settings that Open applies for the control's properties.
SerialLineSettings LineSettingsOf(const Control& port);

} // namespace ep
