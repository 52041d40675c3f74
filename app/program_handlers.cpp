#include "app/created_handler.h"
#include "app/program_main.h"
#include "handlers/panel_handlers.h"

namespace ep {

HandlerRegistry ProgramHandlers() {
    HandlerRegistry handlers = PanelHandlers();
    handlers.add("MainWindowCreated", MainWindowCreated);
    return handlers;
}

} // namespace ep
