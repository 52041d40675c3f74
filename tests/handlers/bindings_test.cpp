#include "app/program_main.h"
#include "runtime/resources.h"
#include "set_test_window.h"

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
