#pragma once
/// The window: its controls, the bindings of their events to handlers, and the dispatch that runs a bound
/// handler synchronously when a control raises an event. It knows no handler's logic.

#include "ui/control.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace ep {

/// What a handler is given: the control that raised the event, the event number and its arguments.
struct EventContext {
    Control& source;
    int event;
    const std::vector<std::int32_t>& arguments;
};

using Handler = std::function<void(const EventContext&)>;

/// The handlers by the names that the window definition binds; each layer registers its own.
class HandlerRegistry {
  public:
    void add(const Text& name, Handler handler);
    const Handler* find(const Text& name) const;

  private:
    std::map<Text, Handler> m_handlers;
};

struct Binding {
    int controlId = 0;
    int event = 0;
    Text handlerName;
    Handler handler; ///< empty until resolved
};

class Window {
  public:
    explicit Window(Text name);
    ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    /// The window's own control (kind Window, id 0).
    Control& self() { return *m_self; }
    const Text& name() const { return m_self->name(); }

    Control& addControl(ControlKind kind, const Text& name, int id);
    void removeControl(Control& control);
    Control* find(const Text& name) const;
    Control* findById(int id) const;
    const std::vector<std::unique_ptr<Control>>& controls() const { return m_controls; }

    void bind(int controlId, int event, const Text& handlerName);
    /// Resolves every binding's handler name; a name without a registered handler stays unresolved and its
    /// events are dropped. Returns the names that did not resolve.
    std::vector<Text> resolveBindings(const HandlerRegistry& registry);
    const std::vector<Binding>& bindings() const { return m_bindings; }

    /// Runs the handler bound to (control, event), nested in the caller; dropped while events are
    /// suppressed or when nothing is bound.
    void dispatch(Control& source, int event, std::vector<std::int32_t> arguments);

  private:
    std::unique_ptr<Control> m_self;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::map<Text, Control*> m_byName;
    std::map<int, Control*> m_byId;
    std::vector<Binding> m_bindings;
};

/// The window that is loaded, for the handlers' access by name.
void SetLoadedWindow(Window* window);
bool IsWindowLoaded();
Window& LoadedWindow();
/// A control of the loaded window by its definition name; a fatal error when it does not exist.
Control& ControlNamed(const Text& name);

} // namespace ep
