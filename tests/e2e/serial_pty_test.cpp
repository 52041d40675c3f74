#include "link/com_ports.h"
#include "link/serial_link.h"
#include "link/serial_port_kind.h"
#include "qt/qt_host.h"
#include "ui/window.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSerialPort>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <thread>

namespace ep {
namespace {

/// A pseudo-terminal whose master side plays the device; the slave side is what the link opens.
class PseudoTerminal {
  public:
    PseudoTerminal() {
        m_master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        grantpt(m_master);
        unlockpt(m_master);
        m_path = ptsname(m_master);
        // Held open so that the master never reports a hang-up between the link's opens.
        m_slave = open(m_path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios settings{};
        tcgetattr(m_slave, &settings);
        cfmakeraw(&settings);
        tcsetattr(m_slave, TCSANOW, &settings);
    }
    ~PseudoTerminal() {
        hangUp();
        if (m_slave >= 0)
            close(m_slave);
    }
    const std::string& path() const { return m_path; }
    /// As a program that opens its port exclusively does: later opens fail with EBUSY, except as root.
    void makeExclusive() { ASSERT_EQ(ioctl(m_slave, TIOCEXCL), 0); }
    void send(const Bytes& bytes) { ASSERT_EQ(write(m_master, bytes.data(), bytes.size()), ssize_t(bytes.size())); }
    /// Reads what arrived within the time.
    Bytes receive(int timeoutMs) {
        Bytes bytes;
        pollfd poller{m_master, POLLIN, 0};
        while (poll(&poller, 1, timeoutMs) > 0 && (poller.revents & POLLIN)) {
            std::uint8_t buffer[512];
            const ssize_t count = read(m_master, buffer, sizeof buffer);
            if (count <= 0)
                break;
            bytes.insert(bytes.end(), buffer, buffer + count);
            timeoutMs = 50;
        }
        return bytes;
    }
    speed_t speed() const {
        termios settings{};
        tcgetattr(m_slave, &settings);
        return cfgetospeed(&settings);
    }
    void hangUp() {
        if (m_master >= 0)
            close(m_master);
        m_master = -1;
        if (m_slave >= 0)
            close(m_slave);
        m_slave = -1;
    }

  private:
    int m_master = -1;
    int m_slave = -1;
    std::string m_path;
};

class SerialPty : public ::testing::Test {
  protected:
    SerialPty() : window("MainWindow") {
        RegisterSerialPortKind();
        port = &window.addControl(ControlKind::SerialPort, "端口", 1);
        window.bind(1, event::DataArrived, "data");
        HandlerRegistry handlers;
        handlers.add("data", [this](const EventContext& context) { received.push_back(context.arguments.at(0)); });
        window.resolveBindings(handlers);
        SetLoadedWindow(&window);
        MapComPort(2, terminal.path());
        port->write(serialprop::PortNumber, 2);
        port->write(serialprop::BaudRate, 9600);
    }
    ~SerialPty() override { SetLoadedWindow(nullptr); }

    SerialLink& link() { return LinkOf(*port); }

    void runFor(int milliseconds) {
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < milliseconds) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
    }
    bool receivedCount(std::size_t count, int timeoutMs) {
        QElapsedTimer clock;
        clock.start();
        while (received.size() < count && clock.elapsed() < timeoutMs) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            QThread::msleep(1);
        }
        return received.size() >= count;
    }

    qt::QtHost host;
    PseudoTerminal terminal;
    Window window;
    Control* port = nullptr;
    std::vector<int> received;
};

TEST_F(SerialPty, BytesArrivingTogetherBecomeOneEventEachInOrder) {
    ASSERT_EQ(link().Open(), 1);
    terminal.send({0x68, 0x00, 0xA8});
    ASSERT_TRUE(receivedCount(3, 2000));
    EXPECT_EQ(received, (std::vector<int>{0x68, 0x00, 0xA8}));
}

TEST_F(SerialPty, ItemsPutTheirBytesOnTheLine) {
    ASSERT_EQ(link().Open(), 1);
    EXPECT_EQ(link().Send(Value(std::uint8_t{0x80})), 1);
    EXPECT_EQ(link().Send(Value(std::int32_t{0x0A0B0C0D})), 1);
    EXPECT_EQ(link().Send(Value("xyz")), 1);
    EXPECT_EQ(link().Send(Value(2.0)), 1);
    EXPECT_EQ(terminal.receive(1000), (Bytes{0x80, 0x0D, 0x0C, 0x0B, 0x0A, 'x', 'y', 'z', 0, 0, 0, 0, 0, 0, 0, 0x40}));
}

TEST_F(SerialPty, OpenReopensAndCloseDeliversNothingQueued) {
    ASSERT_EQ(link().Open(), 1);
    ASSERT_EQ(link().Open(), 1);
    terminal.send({1, 2, 3});
    QThread::msleep(200);
    link().Close();
    runFor(200);
    EXPECT_TRUE(received.empty());
    EXPECT_EQ(link().Send(Value(std::uint8_t{1})), 0);
}

TEST_F(SerialPty, TheBaudRateChangesOnlyAtTheNextOpen) {
    ASSERT_EQ(link().Open(), 1);
    EXPECT_EQ(terminal.speed(), B9600);
    port->write(serialprop::BaudRate, 19200);
    EXPECT_EQ(terminal.speed(), B9600);
    ASSERT_EQ(link().Open(), 1);
    EXPECT_EQ(terminal.speed(), B19200);
}

TEST_F(SerialPty, SendingWhileTheDeviceSendsLosesNoneOfItsBytes) {
    ASSERT_EQ(link().Open(), 1);
    Bytes stream(600);
    for (std::size_t i = 0; i < stream.size(); ++i)
        stream[i] = static_cast<std::uint8_t>(i % 251);
    // The device reads what the panel sends, as a device does, while it sends its own stream.
    std::atomic<bool> sending = true;
    std::size_t pings = 0;
    std::thread reader([&] {
        while (sending || pings < 100)
            pings += terminal.receive(20).size();
    });
    std::thread device([&] {
        for (std::size_t i = 0; i < stream.size(); i += 20) {
            terminal.send(Bytes(stream.begin() + static_cast<std::ptrdiff_t>(i),
                                stream.begin() + static_cast<std::ptrdiff_t>(i + 20)));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    for (int i = 0; i < 100; ++i)
        link().Send(Value(std::uint8_t{0x68}));
    device.join();
    sending = false;
    reader.join();
    EXPECT_EQ(pings, 100u);
    ASSERT_TRUE(receivedCount(stream.size(), 3000));
    EXPECT_EQ(received, std::vector<int>(stream.begin(), stream.end()));
}

TEST_F(SerialPty, AHangUpIsSurvivedWithoutSpinningAndThePortReopens) {
    ASSERT_EQ(link().Open(), 1);
    terminal.hangUp();
    runFor(100);
    const std::clock_t before = std::clock();
    runFor(1000);
    const double cpuShare = double(std::clock() - before) / CLOCKS_PER_SEC;
    EXPECT_LT(cpuShare, 0.2) << "the reader must not spin after a hang-up";
    EXPECT_EQ(link().Send(Value(std::uint8_t{0x68})), 0);
    PseudoTerminal replacement;
    MapComPort(2, replacement.path());
    ASSERT_EQ(link().Open(), 1);
    replacement.send({0x42});
    ASSERT_TRUE(receivedCount(1, 2000));
    EXPECT_EQ(received.back(), 0x42);
}

// Who holds the port and who may open it decide what the status label's help says. Root opens an
// exclusive terminal anyway, so run as root the panel's open runs as the user nobody, with the terminal's
// mode giving that user access as the dialout group does; an ordinary user owns the terminal already.
TEST_F(SerialPty, ARefusedOpenSaysWhetherThePortIsBusyOrNeedsPermission) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    enum class Holder { None, ExclusiveOpen, QtPort };
    const struct {
        const char* what;
        Holder holder;
        mode_t mode;
        bool asNobody;
        const char* message;
    } cases[] = {
        {"opened exclusively", Holder::ExclusiveOpen, 0666, true, "该端口正被另一个程序占用"},
        // As root, the system opens it and only Qt's lock file of the other port is in the way.
        {"opened with Qt", Holder::QtPort, 0666, false, "该端口正被另一个程序占用"},
        {"not for this user", Holder::None, 0000, true, "请把自己加入 dialout 组"},
    };
    for (const auto& c : cases) {
        EXPECT_EXIT(
            {
                if (c.holder == Holder::ExclusiveOpen)
                    terminal.makeExclusive();
                QSerialPort other(QString::fromStdString(terminal.path()));
                if (c.holder == Holder::QtPort && !other.open(QIODevice::ReadWrite))
                    std::exit(3);
                if (chmod(terminal.path().c_str(), c.mode) != 0)
                    std::exit(4);
                if (c.asNobody && geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                    std::exit(5);
                const int opened = link().Open();
                other.close();
                for (const Text& failure : link().openFailures())
                    std::fprintf(stderr, "%s\n", failure.c_str());
                std::exit(opened);
            },
            ::testing::ExitedWithCode(0), c.message)
            << c.what;
    }
}

} // namespace
} // namespace ep
