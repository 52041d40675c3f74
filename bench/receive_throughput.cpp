// Bytes per second through the serial link into DataArrived events over a pseudo-terminal, against the
// 960 bytes/s that a 9600 bit/s 8N1 line carries. The device writes far faster than the window thread
// takes the bytes, so the link's queue stays full and drops the surplus: the figure is the rate at which
// the window thread is handed bytes, from the first delivered to the last.
#include "link/com_ports.h"
#include "link/serial_link.h"
#include "link/serial_port_kind.h"
#include "qt/qt_host.h"
#include "ui/window.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <thread>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ep::qt::QtHost host;
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    grantpt(master);
    unlockpt(master);
    const char* path = ptsname(master);
    const int slave = open(path, O_RDWR | O_NOCTTY);
    termios settings{};
    tcgetattr(slave, &settings);
    cfmakeraw(&settings);
    tcsetattr(slave, TCSANOW, &settings);

    ep::RegisterSerialPortKind();
    ep::Window window("MainWindow");
    ep::Control& port = window.addControl(ep::ControlKind::SerialPort, "端口", 1);
    long long received = 0;
    QElapsedTimer clock;
    double firstDelivery = -1;
    double lastDelivery = 0;
    window.bind(1, ep::event::DataArrived, "count");
    ep::HandlerRegistry handlers;
    handlers.add("count", [&](const ep::EventContext&) {
        lastDelivery = clock.nsecsElapsed() / 1e9;
        if (firstDelivery < 0)
            firstDelivery = lastDelivery;
        ++received;
    });
    window.resolveBindings(handlers);
    ep::MapComPort(1, path);
    if (ep::LinkOf(port).Open() != 1) {
        std::fprintf(stderr, "cannot open %s\n", path);
        return 1;
    }
    constexpr long long total = 2'000'000;
    constexpr double quietSeconds = 0.5;
    clock.start();
    std::atomic<bool> sending = true;
    std::thread device([master, &sending] {
        unsigned char block[4096];
        for (std::size_t i = 0; i < sizeof block; ++i)
            block[i] = static_cast<unsigned char>(i);
        for (long long sent = 0; sent < total; sent += sizeof block)
            if (write(master, block, sizeof block) < 0)
                break;
        sending = false;
    });
    while ((sending || clock.nsecsElapsed() / 1e9 - lastDelivery < quietSeconds) && clock.elapsed() < 60000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    device.join();
    const double seconds = lastDelivery - firstDelivery;
    const double rate = received / seconds;
    std::printf("receive path: %.0f bytes/s through DataArrived (%lld of %lld bytes in %.2f s, the rest dropped by "
                "the full queue); line limit 960 bytes/s; ratio %.0fx (target > 100x)\n",
                rate, received, total, seconds, rate / 960.0);
    ep::LinkOf(port).Close();
    close(slave);
    close(master);
    return received > 0 ? 0 : 1;
}
