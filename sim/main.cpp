#include "sim/command_line.h"
#include "sim/frame_description.h"
#include "sim/pty_server.h"

#include <csignal>
#include <iostream>
#include <pthread.h>
#include <random>

int main(int argc, char** argv) {
    using namespace ep::sim;
    SimCommandLine line = ParseSimCommandLine(argc, argv);
    if (!line.error.empty()) {
        std::cerr << "effectpanel-sim: " << line.error << "\nTry 'effectpanel-sim --help'.\n";
        return 2;
    }
    if (line.help) {
        std::cout << SimHelpText();
        return 0;
    }

    // Signals are taken by sigwait below; blocked before the I/O thread starts, so it inherits the mask.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    line.server.device.noiseSeed = std::random_device{}();
    if (!line.quiet)
        line.server.frameObserver = [](const ParsedFrame& frame) { std::cerr << DescribeFrame(frame) << '\n'; };

    PtyServer server;
    if (!server.start(line.server)) {
        std::cerr << "effectpanel-sim: " << server.error() << '\n';
        return 1;
    }
    std::cout << (line.server.linkPath.empty() ? server.path() : line.server.linkPath) << std::endl;

    for (;;) {
        int signal = 0;
        if (sigwait(&signals, &signal) != 0)
            break;
        if (signal != SIGUSR1)
            break;
        server.requestKeyReset();
        if (!line.quiet)
            std::cerr << "sent key reset 0x88\n";
    }
    server.stop();
    return 0;
}
