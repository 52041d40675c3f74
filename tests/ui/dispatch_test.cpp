#include "fatal_exit.h"
#include "runtime/fatal.h"
#include "test_host.h"
#include "ui/window.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

class Dispatch : public ::testing::Test {
  protected:
    Dispatch() : window("MainWindow"), button(window.addControl(ControlKind::Button, "按钮1", 1)) {
        handlers.add("first", [this](const EventContext&) { calls.push_back("first"); });
        handlers.add("second", [this](const EventContext&) { calls.push_back("second"); });
    }

    testing::TestHost host;
    Window window;
    Control& button;
    HandlerRegistry handlers;
    std::vector<Text> calls;
};

TEST_F(Dispatch, TheFirstBindingForAnEventIsUsed) {
    window.bind(button.id(), event::Clicked, "first");
    window.bind(button.id(), event::Clicked, "second");
    window.resolveBindings(handlers);
    button.raise(event::Clicked);
    EXPECT_EQ(calls, (std::vector<Text>{"first"}));
}

TEST_F(Dispatch, AnEventWithoutABindingIsDropped) {
    window.bind(button.id(), event::Clicked, "first");
    window.resolveBindings(handlers);
    button.raise(event::LeftButtonPressed, {1, 2, 0});
    EXPECT_TRUE(calls.empty());
}

TEST_F(Dispatch, ABindingWithoutARegisteredHandlerIsReportedAndDropped) {
    window.bind(button.id(), event::Clicked, "missing");
    EXPECT_EQ(window.resolveBindings(handlers), (std::vector<Text>{"missing"}));
    button.raise(event::Clicked);
    EXPECT_TRUE(calls.empty());
}

TEST_F(Dispatch, HandlersReceiveTheSourceAndArguments) {
    window.bind(button.id(), event::LeftButtonPressed, "args");
    std::vector<std::int32_t> seen;
    handlers.add("args", [&](const EventContext& context) {
        EXPECT_EQ(&context.source, &button);
        seen = context.arguments;
    });
    window.resolveBindings(handlers);
    button.raise(event::LeftButtonPressed, {3, 4, 2});
    EXPECT_EQ(seen, (std::vector<std::int32_t>{3, 4, 2}));
}

TEST_F(Dispatch, NoControlNamedIsFatal) {
    SetLoadedWindow(nullptr);
    EXPECT_EXIT(ControlNamed("标签127"), testing::ExitedFatally(), "未载入欲访问窗口组件所在的窗口");
    SetLoadedWindow(&window);
    EXPECT_EXIT(ControlNamed("nothing"), testing::ExitedFatally(), "指定窗口或窗口组件不存在或尚未载入");
    EXPECT_EQ(&ControlNamed("按钮1"), &button);
    SetLoadedWindow(nullptr);
}

// Runs last in this file's order: suppression cannot be undone within a process.
TEST_F(Dispatch, NoHandlerRunsOnceEventsAreSuppressed) {
    window.bind(button.id(), event::Clicked, "first");
    window.resolveBindings(handlers);
    EXPECT_EXIT(
        {
            SuppressEvents();
            button.raise(event::Clicked);
            std::exit(calls.empty() ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

} // namespace
} // namespace ep
