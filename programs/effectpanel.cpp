#include "app/command_line.h"
#include "app/program_main.h"
#include "link/com_ports.h"
#include "link/traffic_trace.h"
#include "qt/qt_program.h"
#include "sim/pty_server.h"

#include <cstdio>

namespace {

constexpr int kSimulatorComPort = 10;
constexpr int kTraceIncomplete = 1;

} // namespace

int main(int argc, char** argv) {
    const ep::CommandLine commandLine = ep::ParseCommandLine(argc, argv);
    if (!commandLine.error.empty()) {
        std::fprintf(stderr, "effectpanel: %s\nTry 'effectpanel --help' for more information.\n",
                     commandLine.error.c_str());
        return 2;
    }
    if (commandLine.help) {
        std::fputs(ep::HelpText().c_str(), stdout);
        return 0;
    }
    if (commandLine.version) {
        std::fputs(ep::VersionText().c_str(), stdout);
        return 0;
    }
    for (const auto& [number, device] : commandLine.comDevices)
        ep::MapComPort(number, device);
    if (!commandLine.traceFile.empty()) {
        if (const auto problem = ep::StartTrafficTrace(commandLine.traceFile, "effectpanel")) {
            std::fprintf(stderr, "effectpanel: %s\n", problem->c_str());
            return 2;
        }
    }
    ep::sim::PtyServer simulator;
    if (commandLine.simulate) {
        if (!simulator.start({})) {
            std::fprintf(stderr, "effectpanel: cannot start the simulated processor: %s\n", simulator.error().c_str());
            return 1;
        }
        ep::MapComPort(kSimulatorComPort, simulator.path());
        std::fprintf(stderr, "effectpanel: simulated processor on %s as COM%d\n", simulator.path().c_str(),
                     kSimulatorComPort);
    }
    const int code = ep::qt::RunQtProgram(argc, argv, [&commandLine](const ep::MessageLoop& loop) {
        return ep::ProgramMain(loop, commandLine.presetFile);
    });
    // A trace that is not whole was told on standard error as it broke off; the exit code tells it too.
    const bool traceWhole = !ep::StopTrafficTrace();
    return code == 0 && !traceWhole ? kTraceIncomplete : code;
}
