#pragma once
/// The reader thread's side of a device behind a network serial server, named "tcp:HOST:PORT": a raw TCP
/// connection that carries the line's bytes both ways. The line settings are the server's own; a closed
/// connection is a hang-up.

#include "qt/device_worker.h"

#include <QTcpSocket>

namespace ep::qt {

/// The time a connection may take before the open fails.
constexpr int kTcpConnectTimeoutMs = 3000;

/// True for a device path of a network serial server.
bool IsNetworkDevice(const Text& devicePath);

class TcpWorker : public DeviceWorker {
  public:
    explicit TcpWorker(SerialReceiver& receiver);

    SerialOpenResult open(const Text& devicePath) override;
    /// Writes and waits until the bytes are handed to the network.
    bool write(const QByteArray& bytes, int timeoutMs) override;
    void close() override;

  private:
    void readAvailable();
    void lost();

    SerialReceiver& m_receiver;
    QTcpSocket* m_socket = nullptr; ///< created in the reader thread, owned by this object
    bool m_lost = false;
};

} // namespace ep::qt
