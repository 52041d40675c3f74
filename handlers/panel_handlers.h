#pragma once
/// Every handler of the panel's controls, by the names the window definition binds; the window's
/// created handler is the program's own.

#include "ui/window.h"

namespace ep {

HandlerRegistry PanelHandlers();

} // namespace ep
