#include "ui/window.h"

#include "runtime/fatal.h"

namespace ep {
namespace {
Window* g_loadedWindow = nullptr;
} // namespace

void HandlerRegistry::add(const Text& name, Handler handler) { m_handlers[name] = std::move(handler); }

const Handler* HandlerRegistry::find(const Text& name) const {
    const auto found = m_handlers.find(name);
    return found == m_handlers.end() ? nullptr : &found->second;
}

Window::Window(Text name) : m_self(std::make_unique<Control>(*this, ControlKind::Window, std::move(name), 0)) {
    m_byId[0] = m_self.get();
}

Window::~Window() {
    if (g_loadedWindow == this)
        g_loadedWindow = nullptr;
    // Controls go in reverse definition order, as their children before their parents.
    while (!m_controls.empty())
        m_controls.pop_back();
}

Control& Window::addControl(ControlKind kind, const Text& name, int id) {
    m_controls.push_back(std::make_unique<Control>(*this, kind, name, id));
    Control& control = *m_controls.back();
    m_byName[name] = &control;
    m_byId[id] = &control;
    return control;
}

void Window::removeControl(Control& control) {
    m_byName.erase(control.name());
    m_byId.erase(control.id());
    std::erase_if(m_controls, [&control](const auto& owned) { return owned.get() == &control; });
}

Control* Window::find(const Text& name) const {
    if (name == m_self->name())
        return m_self.get();
    const auto found = m_byName.find(name);
    return found == m_byName.end() ? nullptr : found->second;
}

Control* Window::findById(int id) const {
    const auto found = m_byId.find(id);
    return found == m_byId.end() ? nullptr : found->second;
}

void Window::bind(int controlId, int event, const Text& handlerName) {
    m_bindings.push_back(Binding{controlId, event, handlerName, {}});
}

std::vector<Text> Window::resolveBindings(const HandlerRegistry& registry) {
    std::vector<Text> unresolved;
    for (auto& binding : m_bindings) {
        const Handler* handler = registry.find(binding.handlerName);
        binding.handler = handler != nullptr ? *handler : Handler{};
        if (handler == nullptr)
            unresolved.push_back(binding.handlerName);
    }
    return unresolved;
}

void Window::dispatch(Control& source, int event, std::vector<std::int32_t> arguments) {
    if (EventsSuppressed())
        return;
    if (&source.window() != this)
        ReportFatal("未找到引发事件的窗口");
    if (findById(source.id()) != &source)
        ReportFatal("引发事件的窗口组件无效");
    for (const auto& binding : m_bindings) {
        if (binding.controlId != source.id() || binding.event != event)
            continue;
        if (!binding.handler)
            return;
        // A copy: a handler may run nested handlers that resolve bindings again.
        const Handler handler = binding.handler;
        handler(EventContext{source, event, arguments});
        return;
    }
}

void SetLoadedWindow(Window* window) { g_loadedWindow = window; }

bool IsWindowLoaded() { return g_loadedWindow != nullptr; }

Window& LoadedWindow() {
    if (g_loadedWindow == nullptr)
        ReportFatal("指定窗口尚未载入");
    return *g_loadedWindow;
}

Control& ControlNamed(const Text& name) {
    if (g_loadedWindow == nullptr)
        ReportFatal("未载入欲访问窗口组件所在的窗口");
    Control* control = g_loadedWindow->find(name);
    if (control == nullptr)
        ReportFatal("指定窗口或窗口组件不存在或尚未载入");
    return *control;
}

} // namespace ep
