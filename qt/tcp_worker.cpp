#include "qt/tcp_worker.h"

#include <QDeadlineTimer>
#include <QTimer>

#include <charconv>

namespace ep::qt {
namespace {

/// What the socket holds of the server's bytes at most: the reader thread hands them on in steps of this,
/// and the writes that the UI thread hands it get their turn in between, however fast the server sends.
constexpr qint64 kReadStepBytes = 4096;

/// How often the reader thread looks whether the name's lookup has ended.
constexpr int kLookupPollMs = 10;

struct Address {
    QString host;
    quint16 port = 0;
};

/// HOST:PORT after the prefix; the port is after the last colon, so that the host may hold colons.
std::optional<Address> AddressOf(const Text& devicePath) {
    if (!IsNetworkDevicePath(devicePath))
        return std::nullopt;
    const std::string_view rest = std::string_view(devicePath).substr(devicePath.find(':') + 1);
    const auto colon = rest.rfind(':');
    if (colon == std::string_view::npos || colon == 0)
        return std::nullopt;
    unsigned port = 0;
    const auto digits = rest.substr(colon + 1);
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), port);
    if (error != std::errc() || end != digits.data() + digits.size() || port == 0 || port > 65535)
        return std::nullopt;
    std::string_view host = rest.substr(0, colon);
    // An IPv6 address comes in brackets, as in a URL.
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    return Address{QString::fromStdString(Text(host)), static_cast<quint16>(port)};
}

} // namespace

SerialOpenResult TcpWorker::open(const Text& devicePath) {
    m_devicePath = devicePath;
    const auto address = AddressOf(devicePath);
    if (!address) {
        settle({State::Failed, SerialOpenError::Other, "not an address of the form tcp:HOST:PORT"});
        return {};
    }
    m_port = address->port;
    m_socket = new QTcpSocket(this);
    m_socket->setReadBufferSize(kReadStepBytes);
    connect(m_socket, &QTcpSocket::connected, this, [this] {
        // Each frame item is written on its own: none may wait for the next to fill a segment.
        m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        settle({State::Connected});
    });
    connect(m_socket, &QTcpSocket::errorOccurred, this, &TcpWorker::connectionFailed);
    connect(m_socket, &QTcpSocket::readyRead, this, &TcpWorker::readAvailable);
    connect(m_socket, &QTcpSocket::disconnected, this, &TcpWorker::lost);
    m_deadline = new QTimer(this);
    m_deadline->setSingleShot(true);
    connect(m_deadline, &QTimer::timeout, this, [this, host = address->host.toStdString()] {
        if (status().state != State::Connecting)
            return;
        const bool lookedUp = m_lookup->result().has_value();
        m_socket->abort();
        const Text within = " within " + std::to_string(kDeviceOpenMs / 1000) + " s";
        settle({State::Failed, SerialOpenError::Other,
                lookedUp ? "no connection to " + m_devicePath.substr(m_devicePath.find(':') + 1) + within
                         : "the name " + host + " was not looked up" + within,
                true});
    });
    m_deadline->start(kDeviceOpenMs);
    m_lookupPoll = new QTimer(this);
    connect(m_lookupPoll, &QTimer::timeout, this, &TcpWorker::lookUp);
    m_lookup.emplace(address->host);
    lookUp();
    return {};
}

void TcpWorker::lookUp() {
    if (status().state != State::Connecting) {
        m_lookupPoll->stop();
        return;
    }
    const std::optional<HostLookup::Result> result = m_lookup->result();
    if (!result) {
        if (!m_lookupPoll->isActive())
            m_lookupPoll->start(kLookupPollMs);
        return;
    }
    m_lookupPoll->stop();
    if (result->addresses.empty()) {
        settle({State::Failed, SerialOpenError::Missing, result->failure});
        return;
    }
    m_addresses = result->addresses;
    connectNext();
}

void TcpWorker::connectNext() {
    if (m_socket == nullptr || status().state != State::Connecting || m_addresses.empty())
        return;
    const QHostAddress address = m_addresses.front();
    m_addresses.erase(m_addresses.begin());
    m_socket->connectToHost(address, m_port);
}

void TcpWorker::connectionFailed(QAbstractSocket::SocketError error) {
    // A connection that ends after it was made is told by lost().
    if (status().state != State::Connecting)
        return;
    m_socket->abort();
    if (!m_addresses.empty()) {
        // The socket takes a new connection only from the event loop, not from inside its own signal.
        QMetaObject::invokeMethod(this, &TcpWorker::connectNext, Qt::QueuedConnection);
        return;
    }
    const bool absent = error == QAbstractSocket::ConnectionRefusedError;
    settle({State::Failed, absent ? SerialOpenError::Missing : SerialOpenError::Other,
            m_socket->errorString().toStdString()});
}

void TcpWorker::readAvailable() {
    m_readQueued = false;
    if (m_socket == nullptr)
        return;
    const QByteArray bytes = m_socket->read(kReadStepBytes);
    {
        std::lock_guard lock(m_receiverMutex);
        if (m_receiver != nullptr)
            for (const char byte : bytes)
                m_receiver->byteReceived(static_cast<std::uint8_t>(byte));
    }
    // The rest waits behind what else the thread has to do, a write among it.
    if (m_socket->bytesAvailable() > 0 && !m_readQueued) {
        m_readQueued = true;
        QMetaObject::invokeMethod(this, &TcpWorker::readAvailable, Qt::QueuedConnection);
    }
}

void TcpWorker::lost() {
    if (status().state != State::Connected)
        return;
    settle({State::Failed, SerialOpenError::Other, "the connection was closed"});
    std::lock_guard lock(m_receiverMutex);
    if (m_receiver != nullptr)
        m_receiver->linkLost();
}

void TcpWorker::settle(Status status) {
    const bool settled = status.state != State::Connecting;
    {
        std::lock_guard lock(m_statusMutex);
        m_status = std::move(status);
    }
    m_settled.notify_all();
    if (settled) {
        if (m_deadline != nullptr)
            m_deadline->stop();
        if (m_lookupPoll != nullptr)
            m_lookupPoll->stop();
    }
}

TcpWorker::Status TcpWorker::status() const {
    std::lock_guard lock(m_statusMutex);
    return m_status;
}

bool TcpWorker::waitWhileConnecting(int milliseconds) const {
    std::unique_lock lock(m_statusMutex);
    return m_settled.wait_for(lock, std::chrono::milliseconds(milliseconds),
                              [this] { return m_status.state != State::Connecting; });
}

void TcpWorker::attach(SerialReceiver* receiver) {
    std::lock_guard lock(m_receiverMutex);
    m_receiver = receiver;
}

bool TcpWorker::write(const QByteArray& bytes, int timeoutMs) {
    if (m_socket == nullptr || status().state != State::Connected)
        return false;
    if (m_socket->write(bytes) != bytes.size())
        return false;
    QDeadlineTimer deadline(timeoutMs);
    while (m_socket->bytesToWrite() > 0)
        if (!m_socket->waitForBytesWritten(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0))) ||
            status().state != State::Connected)
            return false;
    return true;
}

void TcpWorker::close() {
    if (m_deadline != nullptr)
        m_deadline->stop();
    if (m_lookupPoll != nullptr)
        m_lookupPoll->stop();
    if (m_socket == nullptr)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    delete m_socket;
    m_socket = nullptr;
}

} // namespace ep::qt
