#include "qt/headless_host.h"
#include "tool/cli_commands.h"
#include "tool/cli_options.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv) {
    const ep::CliOptions options = ep::ParseCliOptions(argc, argv);
    if (!options.error.empty()) {
        std::fprintf(stderr, "effectpanel-cli: %s\nTry 'effectpanel-cli --help' for more information.\n",
                     options.error.c_str());
        return ep::kExitUsage;
    }
    if (options.help) {
        std::fputs(ep::CliHelpText().c_str(), stdout);
        return ep::kExitDone;
    }
    if (options.version) {
        std::fputs(ep::CliVersionText().c_str(), stdout);
        return ep::kExitDone;
    }
    QCoreApplication application(argc, argv);
    ep::qt::HeadlessHost host;
    host.answerFileDialogsWith(ep::PresetToLoad(options));
    return ep::RunCliCommand(options);
}
