#include "link/link_handlers.h"

#include "link/connection.h"
#include "link/device_commands.h"
#include "link/receive_handler.h"

namespace ep {

void RegisterLinkHandlers(HandlerRegistry& handlers) {
    handlers.add("ConnectTick", ConnectTick);
    handlers.add("PingTick", PingTick);
    handlers.add("WatchdogTick", WatchdogTick);
    handlers.add("ReceiveByte", ReceiveByte);
    handlers.add("ReadDevice", ReadDevice);
    handlers.add("StoreToDevice", StoreToDevice);
    handlers.add("RestoreDefaults", RestoreDefaults);
}

} // namespace ep
