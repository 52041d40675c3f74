#include "view_fixture.h"

#include "runtime/resources.h"
#include "ui/ui_style.h"
#include "ui/window_definition.h"

#include <QApplication>
#include <QTest>

namespace ep::qt {
namespace {
constexpr const char* kRecorder = "Recorder";
} // namespace

ViewTest::ViewTest() {
    window = BuildWindowFromDefinition(*ProgramResource(kMainWindowDefinition));
    const Handler recorder = [this](const EventContext& context) { recordEvent(context); };
    m_handlers.add(kRecorder, recorder);
    for (const auto& binding : window->bindings())
        m_handlers.add(binding.handlerName, recorder);
    window->resolveBindings(m_handlers);
    SetLoadedWindow(window.get());
    // The program's start-up chooses the themed look before the view exists.
    SetUiStyle(3);
    view = std::make_unique<MainWindowView>(*window);
    view->showCentred();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(view.get()));
}

ViewTest::~ViewTest() {
    view.reset();
    SetLoadedWindow(nullptr);
    SetUiStyle(0);
}

Control& ViewTest::control(const Text& name) const {
    Control* found = window->find(name);
    EXPECT_NE(found, nullptr) << name;
    return *found;
}

void ViewTest::record(const Text& name, int event) {
    window->bind(control(name).id(), event, kRecorder);
    window->resolveBindings(m_handlers);
}

std::vector<ViewTest::Raised> ViewTest::raisedBy(const Text& name) const {
    std::vector<Raised> result;
    for (const Raised& entry : raised)
        if (entry.control == name)
            result.push_back(entry);
    return result;
}

void ViewTest::focus(QWidget& widget) {
    view->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(view.get()));
    widget.setFocus(Qt::OtherFocusReason);
    QApplication::processEvents();
    EXPECT_TRUE(widget.hasFocus());
}

void ViewTest::recordEvent(const EventContext& context) {
    raised.push_back(Raised{context.source.name(), context.event, context.arguments,
                            context.source.readInt(prop::slider::Position),
                            context.source.readText(prop::editbox::Content)});
}

} // namespace ep::qt
