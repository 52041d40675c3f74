#include "app/program_main.h"
#include "link/link_globals.h"
#include "model/lookup_tables.h"
#include "runtime/fatal.h"
#include "sets/apply_effect_set.h"
#include "test_host.h"
#include "ui/ui_style.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

TEST(ProgramMain, TheCreatedHandlerFinishesStartUpBeforeTheLoopRuns) {
    testing::TestHost host;
    bool loopRan = false;
    const int result = ProgramMain([&](Window& window) {
        loopRan = true;
        EXPECT_EQ(&LoadedWindow(), &window);
        EXPECT_EQ(UiStyle(), 3);
        EXPECT_EQ(DefaultSetText, window.find("编辑框7")->readText(prop::editbox::Content));
        EXPECT_EQ(DefaultSetText.size(), 765u);
        EXPECT_EQ(DbStepTable.at(1), 10);
        EXPECT_EQ(DbStepTable.at(11), 0);
        EXPECT_EQ(DbStepTable.at(21), 10);
        EXPECT_EQ(DelayTextTable.at(8), "98ms");
        EXPECT_EQ(DelayTextTable.at(16), "196ms");
        EXPECT_EQ(DumpActive, 0);
        EXPECT_EQ(KeyChanged, 0);
    });
    EXPECT_TRUE(loopRan);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(DefaultSetText.empty()) << "the exit clean-up released the default set";
    EXPECT_FALSE(IsWindowLoaded());
}

TEST(ProgramMain, NoHandlerRunsOnceExitProcessingBegan) {
    EXPECT_EXIT(
        {
            testing::TestHost host;
            Window* loaded = nullptr;
            ProgramMain([&](Window& window) { loaded = &window; });
            // The window is gone; a fresh one with a binding must not run its handler either.
            Window late("MainWindow");
            Control& button = late.addControl(ControlKind::Button, "按钮1", 1);
            late.bind(1, event::Clicked, "ran");
            HandlerRegistry handlers;
            bool ran = false;
            handlers.add("ran", [&](const EventContext&) { ran = true; });
            late.resolveBindings(handlers);
            button.raise(event::Clicked);
            std::exit(ran || loaded == nullptr ? 1 : 0);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST(ExitCleanup, RunsAtMostOnceAndALaterRegistrationReplacesAnEarlierOne) {
    int first = 0;
    int second = 0;
    RegisterExitCleanup([&] { ++first; });
    RegisterExitCleanup([&] { ++second; });
    RunExitCleanup();
    RunExitCleanup();
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}

} // namespace
} // namespace ep
