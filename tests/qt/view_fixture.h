#pragma once
// The main window built from the embedded definition and shown in its view, with a recorder in place of
// every handler the definition binds; tests bind further events to the recorder to watch them.

#include "qt/main_window_view.h"
#include "test_host.h"
#include "ui/window.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace ep::qt {

class ViewTest : public ::testing::Test {
  protected:
    /// One raised event and the state of its control when the handler ran.
    struct Raised {
        Text control;
        int event = 0;
        std::vector<std::int32_t> arguments;
        std::int32_t position = 0; ///< a slider's position or a combo box's selection
        Text content;              ///< an edit box's content
    };

    ViewTest();
    ~ViewTest() override;

    Control& control(const Text& name) const;
    /// The control's widget, of the class the test expects.
    template <typename Widget> Widget* widget(const Text& name) const {
        return dynamic_cast<Widget*>(view->widgetOf(control(name)));
    }
    /// Sends one event of a control to the recorder as well.
    void record(const Text& name, int event);
    /// The recorded events of one control.
    std::vector<Raised> raisedBy(const Text& name) const;
    /// Gives the widget the keyboard focus, with the window active as it is for a user.
    void focus(QWidget& widget);

    testing::TestHost host;
    std::unique_ptr<Window> window;
    std::unique_ptr<MainWindowView> view;
    std::vector<Raised> raised;

  private:
    void recordEvent(const EventContext& context);
    HandlerRegistry m_handlers;
};

} // namespace ep::qt
