#include "app/program_main.h"

#include "app/program_folder.h"
#include "app/program_globals.h"
#include "app/startup_preset.h"
#include "link/serial_port_kind.h"
#include "runtime/fatal.h"
#include "runtime/file_paths.h"
#include "runtime/resources.h"
#include "ui/window_definition.h"

#include <filesystem>
#include <memory>

namespace ep {
namespace {

void InitialiseRuntime() {
    std::error_code error;
    if (const Text folder = ProgramFolder(); !folder.empty())
        std::filesystem::current_path(PathOfName(folder), error);
    if (!ProgramResource(kMainWindowDefinition))
        ReportFatal("载入窗口模板数据段出错!");
}

} // namespace

std::unique_ptr<Window> OpenMainWindow() { return OpenMainWindow(ProgramHandlers()); }

std::unique_ptr<Window> OpenMainWindow(const HandlerRegistry& handlers) {
    RegisterSerialPortKind();
    return LoadStartWindow(handlers);
}

int ProgramMain(const MessageLoop& runMessageLoop, const Text& presetFile) {
    // Named from where the program was started, before the runtime moves into the program's folder.
    std::error_code error;
    const Text preset =
        presetFile.empty() ? Text() : NameOfPath(std::filesystem::absolute(PathOfName(presetFile), error));
    InitialiseRuntime();
    InitialiseGlobals();
    RegisterExitCleanup(ReleaseGlobals);
    std::unique_ptr<Window> window;
    RegisterRuntimeShutdown([&window] { window.reset(); });
    window = OpenMainWindow();
    {
        const StartupPreset startupPreset(preset);
        runMessageLoop(*window);
    }
    SuppressEvents();
    RunExitCleanup();
    RunRuntimeShutdown();
    return 0;
}

} // namespace ep
