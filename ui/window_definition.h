#pragma once
/// Builds the window from its definition (JSON data carried in the program): every control with its
/// kind, geometry and initial attributes, and the event bindings. It raises no event and shows nothing.

#include "ui/window.h"

#include <memory>
#include <string_view>

namespace ep {

/// Reads the definition; a definition that cannot be read or does not fit is the fatal
/// "载入窗口模板数据段出错!", one without the start window "载入启动窗口失败".
std::unique_ptr<Window> BuildWindowFromDefinition(std::string_view definitionJson);

/// The program's start window: built from the embedded definition, its bindings resolved, made the
/// loaded window, and its created event raised once every control exists.
std::unique_ptr<Window> LoadStartWindow(const HandlerRegistry& handlers);

/// The name of the embedded window definition.
inline constexpr std::string_view kMainWindowDefinition = "main_window.json";

} // namespace ep
