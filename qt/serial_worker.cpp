#include "qt/serial_worker.h"

#include "qt/serial_platform.h"

#include <QDeadlineTimer>
#include <QThread>

namespace ep::qt {
namespace {

QSerialPort::Parity ParityOf(SerialLineSettings::Parity parity) {
    switch (parity) {
    case SerialLineSettings::Parity::Odd:
        return QSerialPort::OddParity;
    case SerialLineSettings::Parity::Even:
        return QSerialPort::EvenParity;
    case SerialLineSettings::Parity::Mark:
        return QSerialPort::MarkParity;
    case SerialLineSettings::Parity::Space:
        return QSerialPort::SpaceParity;
    case SerialLineSettings::Parity::None:
        break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits StopBitsOf(SerialLineSettings::StopBits stopBits) {
    switch (stopBits) {
    case SerialLineSettings::StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case SerialLineSettings::StopBits::Two:
        return QSerialPort::TwoStop;
    case SerialLineSettings::StopBits::One:
        break;
    }
    return QSerialPort::OneStop;
}

QSerialPort::FlowControl FlowOf(SerialLineSettings::Flow flow) {
    switch (flow) {
    case SerialLineSettings::Flow::Hardware:
        return QSerialPort::HardwareControl;
    case SerialLineSettings::Flow::Software:
        return QSerialPort::SoftwareControl;
    case SerialLineSettings::Flow::None:
        break;
    }
    return QSerialPort::NoFlowControl;
}

SerialOpenError OpenErrorOf(QSerialPort::SerialPortError error, const Text& devicePath) {
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return SerialOpenError::Missing;
    case QSerialPort::PermissionError:
        return RefusedOpenError(devicePath);
    case QSerialPort::OpenError:
        return SerialOpenError::Busy;
    default:
        return SerialOpenError::Other;
    }
}

QSerialPort::DataBits DataBitsOf(int bits) {
    switch (bits) {
    case 5:
        return QSerialPort::Data5;
    case 6:
        return QSerialPort::Data6;
    case 7:
        return QSerialPort::Data7;
    default:
        return QSerialPort::Data8;
    }
}

} // namespace

SerialWorker::SerialWorker(SerialReceiver& receiver, const SerialLineSettings& settings)
    : m_receiver(receiver), m_settings(settings) {}

SerialOpenResult SerialWorker::open(const Text& devicePath) {
    m_port = new QSerialPort(this);
    m_port->setPortName(QString::fromStdString(devicePath));
    if (!m_port->open(QIODevice::ReadWrite)) {
        SerialOpenResult result{nullptr, OpenErrorOf(m_port->error(), devicePath), m_port->errorString().toStdString()};
        delete m_port;
        m_port = nullptr;
        return result;
    }
    const bool configured =
        m_port->setBaudRate(m_settings.baudRate) && m_port->setDataBits(DataBitsOf(m_settings.dataBits)) &&
        m_port->setParity(ParityOf(m_settings.parity)) && m_port->setStopBits(StopBitsOf(m_settings.stopBits)) &&
        m_port->setFlowControl(FlowOf(m_settings.flow));
    if (!configured) {
        SerialOpenResult result{nullptr, SerialOpenError::Other, m_port->errorString().toStdString()};
        m_port->close();
        delete m_port;
        m_port = nullptr;
        return result;
    }
    // Modem lines: a pseudo-terminal has none, so a refusal here must not fail the open.
    if (m_settings.flow != SerialLineSettings::Flow::Hardware) {
        m_port->setRequestToSend(m_settings.rtsOn);
        if (m_settings.dtrOn)
            m_port->setDataTerminalReady(*m_settings.dtrOn);
        ForgetLastSystemError();
    }
    m_port->clear(QSerialPort::AllDirections);
    m_port->clearError();
    connect(m_port, &QSerialPort::readyRead, this, &SerialWorker::readAvailable);
    connect(m_port, &QSerialPort::errorOccurred, this, &SerialWorker::portError);
    return {};
}

void SerialWorker::readAvailable() {
    if (m_port == nullptr || m_lost)
        return;
    const QByteArray bytes = m_port->readAll();
    for (const char byte : bytes)
        m_receiver.byteReceived(static_cast<std::uint8_t>(byte));
}

void SerialWorker::portError(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError || m_lost || m_port == nullptr)
        return;
    // A read that finds nothing makes Qt 6.4 report whatever error number an earlier call left behind: a
    // stale one as a read error, a stale EAGAIN as a resource error. Only a device that is gone ends the link.
    const bool readSideError = error == QSerialPort::ReadError || error == QSerialPort::ResourceError;
    if (readSideError && DeviceStillThere(*m_port)) {
        m_port->clearError();
        return;
    }
    // Any other error ends the link: after a hang-up Qt 6.4 keeps reporting ReadError in a busy loop while
    // the port stays open, so stop reading and close it here.
    m_lost = true;
    if (error == QSerialPort::ReadError)
        m_receiver.lineEvent(LineEventKind::LineError);
    m_port->disconnect(this);
    m_port->close();
    m_receiver.linkLost();
}

bool SerialWorker::write(const QByteArray& bytes, int timeoutMs) {
    if (m_port == nullptr || m_lost || !m_port->isOpen())
        return false;
    QDeadlineTimer deadline(timeoutMs);
    qint64 written = 0;
    while (written < bytes.size()) {
        const qint64 count = m_port->write(bytes.constData() + written, bytes.size() - written);
        if (count < 0)
            return false;
        written += count;
        if (!m_port->waitForBytesWritten(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0))) &&
            m_port->bytesToWrite() > 0)
            return false;
        if (m_lost)
            return false;
    }
    return drainOutput(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 0)));
}

bool SerialWorker::drainOutput(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const auto pending = PendingOutputBytes(*m_port);
        if (!pending || *pending == 0)
            return true;
        if (deadline.hasExpired())
            return false;
        QThread::usleep(500);
    }
}

void SerialWorker::close() {
    if (m_port == nullptr)
        return;
    m_port->disconnect(this);
    if (m_port->isOpen())
        m_port->close();
    delete m_port;
    m_port = nullptr;
}

} // namespace ep::qt
