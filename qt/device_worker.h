#pragma once
/// The reader thread's side of an open device: it owns the device object, reads every byte as it comes
/// and hands it to the receiver, and performs the writes that the UI thread hands it. A serial port and a
/// TCP connection to a network serial server are the two kinds.

#include "runtime/host.h"

#include <QByteArray>
#include <QObject>

namespace ep::qt {

class DeviceWorker : public QObject {
  public:
    /// Opens the device; runs in the reader thread.
    virtual SerialOpenResult open(const Text& devicePath) = 0;
    /// Writes and waits until the bytes have left; runs in the reader thread while the UI thread waits.
    virtual bool write(const QByteArray& bytes, int timeoutMs) = 0;
    virtual void close() = 0;
};

} // namespace ep::qt
