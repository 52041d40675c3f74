#pragma once
/// The reader thread's side of a serial device: it owns the QSerialPort, reads every byte as it comes,
/// performs the writes handed to it, and treats the first real port error as the end of the link.

#include "runtime/host.h"

#include <QObject>
#include <QSerialPort>

namespace ep::qt {

class SerialWorker : public QObject {
  public:
    SerialWorker(SerialReceiver& receiver, const SerialLineSettings& settings);

    /// Opens the port; runs in the reader thread.
    SerialOpenResult open(const Text& devicePath);
    /// Writes and drains; runs in the reader thread while the UI thread waits.
    bool write(const QByteArray& bytes, int timeoutMs);
    void close();

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
