#pragma once
/// The reader thread's side of a device behind a network serial server, named "tcp:HOST:PORT": a raw TCP
/// connection that carries the line's bytes both ways. The line settings are the server's own; a closed
/// connection is a hang-up.
///
/// The connection is made in the background: open only starts the name's lookup and the connection, which
/// together take at most kDeviceOpenMs, and the UI thread looks at the state without ever waiting on the
/// network. Until a receiver is attached, what the server sends is dropped.

#include "qt/device_worker.h"
#include "qt/host_lookup.h"

#include <QTcpSocket>

#include <condition_variable>
#include <mutex>

class QTimer;

namespace ep::qt {

class TcpWorker : public DeviceWorker {
  public:
    enum class State { Connecting, Connected, Failed };
    struct Status {
        State state = State::Connecting;
        SerialOpenError error = SerialOpenError::None; ///< when failed
        Text reason{};                                 ///< when failed
        bool timedOut = false;                         ///< failed for want of an answer in time
    };

    /// In the worker's thread: starts the lookup and the connection, and returns at once.
    SerialOpenResult open(const Text& devicePath) override;
    /// Writes and waits until the bytes are handed to the network.
    bool write(const QByteArray& bytes, int timeoutMs) override;
    void close() override;

    /// From any thread.
    Status status() const;
    /// From any thread: waits while the connection is being made, at most the time; false when it still is.
    bool waitWhileConnecting(int milliseconds) const;
    /// From any thread: the receiver of what the server sends from now on, or none; no call reaches a
    /// receiver that was replaced once this returns.
    void attach(SerialReceiver* receiver);

  private:
    void lookUp();
    void connectNext();
    void connectionFailed(QAbstractSocket::SocketError error);
    void readAvailable();
    void lost();
    void settle(Status status);

    Text m_devicePath;
    std::optional<HostLookup> m_lookup;
    quint16 m_port = 0;
    std::vector<QHostAddress> m_addresses; ///< those not tried yet
    QTcpSocket* m_socket = nullptr;        ///< created in the reader thread, owned by this object
    QTimer* m_deadline = nullptr;
    QTimer* m_lookupPoll = nullptr;
    bool m_readQueued = false;

    mutable std::mutex m_statusMutex; ///< guards m_status
    mutable std::condition_variable m_settled;
    Status m_status;

    std::mutex m_receiverMutex; ///< guards m_receiver, held while it is called
    SerialReceiver* m_receiver = nullptr;
};

} // namespace ep::qt
