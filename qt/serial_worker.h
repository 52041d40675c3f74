#pragma once
/// The reader thread's side of a serial device: it owns the QSerialPort, reads every byte as it comes,
/// performs the writes handed to it, and treats the first real port error as the end of the link.

#include "qt/device_worker.h"

#include <QSerialPort>

namespace ep::qt {

class SerialWorker : public DeviceWorker {
  public:
    SerialWorker(SerialReceiver& receiver, const SerialLineSettings& settings);

    SerialOpenResult open(const Text& devicePath) override;
    /// Writes and drains the output queue of the port.
    bool write(const QByteArray& bytes, int timeoutMs) override;
    void close() override;

  private:
    void readAvailable();
    void portError(QSerialPort::SerialPortError error);
    bool drainOutput(int timeoutMs);

    SerialReceiver& m_receiver;
    SerialLineSettings m_settings;
    QSerialPort* m_port = nullptr; ///< created in the reader thread, owned by this object
    bool m_lost = false;
};

} // namespace ep::qt
