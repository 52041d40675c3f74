#include "app/program_main.h"
#include "link/serial_port_kind.h"
#include "runtime/resources.h"
#include "test_host.h"
#include "ui/window_definition.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

TEST(Bindings, EveryBindingOfTheWindowReachesARegisteredHandler) {
    testing::TestHost host;
    RegisterSerialPortKind();
    auto window = BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition));
    EXPECT_EQ(window->resolveBindings(ProgramHandlers()), std::vector<Text>{});
    for (const auto& binding : window->bindings())
        EXPECT_TRUE(static_cast<bool>(binding.handler)) << binding.handlerName;
    EXPECT_EQ(window->bindings().size(), 75u);
}

} // namespace
} // namespace ep
