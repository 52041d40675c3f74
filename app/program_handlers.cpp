#include "app/created_handler.h"
#include "app/program_main.h"
#include "link/link_handlers.h"
#include "params/param_handlers.h"
#include "sets/set_handlers.h"

namespace ep {

HandlerRegistry ProgramHandlers() {
    HandlerRegistry handlers;
    handlers.add("MainWindowCreated", MainWindowCreated);
    RegisterLinkHandlers(handlers);
    RegisterParameterHandlers(handlers);
    RegisterSetHandlers(handlers);
    return handlers;
}

} // namespace ep
