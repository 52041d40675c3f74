#include "link/device_link.h"

#include "ui/window.h"

namespace ep {
namespace {
std::function<void()> g_applyEffectSet;
} // namespace

bool IsOnline() { return ControlNamed("标签127").readText(prop::label::Caption) == "已联机"; }

bool IsOfflineCaption() { return ControlNamed("标签127").readText(prop::label::Caption) == "未联机"; }

Control& EffectSetBox() { return ControlNamed("编辑框7"); }

Text EffectSetText() { return EffectSetBox().readText(prop::editbox::Content); }

void SetEffectSetText(const Text& text) { EffectSetBox().write(prop::editbox::Content, text); }

SerialLink& PortLink() { return LinkOf(ControlNamed("端口")); }

void SetApplyEffectSetRoutine(std::function<void()> routine) { g_applyEffectSet = std::move(routine); }

void RunApplyEffectSet() {
    if (g_applyEffectSet)
        g_applyEffectSet();
}

} // namespace ep
