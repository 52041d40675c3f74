#include "tool/command_run.h"

#include "link/serial_port_kind.h"
#include "link/traffic_trace.h"
#include "model/controls.h"
#include "runtime/resources.h"
#include "ui/window_definition.h"

#include <cstdio>

namespace ep {

Run::Run(const CliOptions& options) : m_options(options) { result["command"] = options.command; }

void Run::say(const Text& line) const {
    if (!m_options.json)
        std::printf("%s\n", line.c_str());
}

int Run::fail(int code, const Text& message) {
    std::fprintf(stderr, "effectpanel-cli: %s\n", message.c_str());
    result["error"] = message;
    return finish(code);
}

int Run::finish(int code) {
    if (const auto failure = StopTrafficTrace()) {
        result["traceError"] = *failure;
        code = kExitUsage;
    }
    if (m_options.json) {
        result["exitCode"] = code;
        // A file or device may be named in bytes that are not UTF-8, and JSON is: they become U+FFFD.
        const Text json = result.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        std::printf("%s\n", json.c_str());
    }
    return code;
}

Text OnOneLine(Text message) {
    for (auto at = message.find('\n'); at != Text::npos; at = message.find('\n', at))
        message.replace(at, 1, "；");
    return message;
}

Text DesignTimeSet() {
    RegisterSerialPortKind();
    const auto window = BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition));
    return window->find(controls::EffectSetBox)->readText(prop::editbox::Content);
}

} // namespace ep
