#pragma once
/// A serial port that the panel opens (a QSerialPort in its reader thread), and what the ports and the
/// network devices share: the write that the UI thread hands to the device's thread and waits for, no
/// longer than the write's own time-out and a little more.

#include "qt/device_thread.h"
#include "runtime/host.h"

namespace ep::qt {

/// An open device whose worker runs in its own thread.
class ThreadedDevice : public SerialDevice {
  public:
    explicit ThreadedDevice(std::unique_ptr<DeviceThread> thread) : m_thread(std::move(thread)) {}
    ~ThreadedDevice() override { close(); }

    bool write(const Bytes& bytes, int timeoutMs) override;
    void close() override;

  protected:
    /// Gives the thread up to the caller, which keeps it (the network devices keep a connection for a
    /// moment after its close).
    std::unique_ptr<DeviceThread> takeThread() { return std::move(m_thread); }

  private:
    std::unique_ptr<DeviceThread> m_thread;
};

SerialOpenResult OpenSerialDevice(const Text& devicePath, const SerialLineSettings& settings, SerialReceiver& receiver);

} // namespace ep::qt
