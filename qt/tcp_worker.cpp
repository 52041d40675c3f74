#include "qt/tcp_worker.h"

#include <QDeadlineTimer>

#include <charconv>

namespace ep::qt {
namespace {

constexpr std::string_view kPrefix = "tcp:";

struct Address {
    QString host;
    quint16 port = 0;
};

/// HOST:PORT after the prefix; the port is after the last colon, so that the host may hold colons.
std::optional<Address> AddressOf(const Text& devicePath) {
    const std::string_view rest = std::string_view(devicePath).substr(kPrefix.size());
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

bool IsNetworkDevice(const Text& devicePath) { return devicePath.starts_with(kPrefix); }

TcpWorker::TcpWorker(SerialReceiver& receiver) : m_receiver(receiver) {}

SerialOpenResult TcpWorker::open(const Text& devicePath) {
    const auto address = AddressOf(devicePath);
    if (!address)
        return {nullptr, SerialOpenError::Other, "not an address of the form tcp:HOST:PORT"};
    m_socket = new QTcpSocket(this);
    // Each frame item is written on its own: none may wait for the next to fill a segment.
    m_socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    m_socket->connectToHost(address->host, address->port);
    if (!m_socket->waitForConnected(kTcpConnectTimeoutMs)) {
        const bool absent = m_socket->error() == QAbstractSocket::ConnectionRefusedError ||
                            m_socket->error() == QAbstractSocket::HostNotFoundError;
        SerialOpenResult result{nullptr, absent ? SerialOpenError::Missing : SerialOpenError::Other,
                                m_socket->errorString().toStdString()};
        delete m_socket;
        m_socket = nullptr;
        return result;
    }
    connect(m_socket, &QTcpSocket::readyRead, this, &TcpWorker::readAvailable);
    connect(m_socket, &QTcpSocket::disconnected, this, &TcpWorker::lost);
    return {};
}

void TcpWorker::readAvailable() {
    if (m_socket == nullptr || m_lost)
        return;
    const QByteArray bytes = m_socket->readAll();
    for (const char byte : bytes)
        m_receiver.byteReceived(static_cast<std::uint8_t>(byte));
}

void TcpWorker::lost() {
    if (m_lost)
        return;
    m_lost = true;
    m_receiver.linkLost();
}

bool TcpWorker::write(const QByteArray& bytes, int timeoutMs) {
    if (m_socket == nullptr || m_lost || m_socket->state() != QAbstractSocket::ConnectedState)
        return false;
    if (m_socket->write(bytes) != bytes.size())
        return false;
    QDeadlineTimer deadline(timeoutMs);
    while (m_socket->bytesToWrite() > 0)
        if (!m_socket->waitForBytesWritten(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0))) || m_lost)
            return false;
    return true;
}

void TcpWorker::close() {
    if (m_socket == nullptr)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    delete m_socket;
    m_socket = nullptr;
}

} // namespace ep::qt
