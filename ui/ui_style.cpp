#include "ui/ui_style.h"

namespace ep {
namespace {
int g_style = 0;
std::function<void(int)> g_listener;
} // namespace

void SetUiStyle(int style) {
    g_style = (style >= 1 && style <= 3) ? style : 0;
    if (g_listener)
        g_listener(g_style);
}

int UiStyle() { return g_style; }

void SetUiStyleListener(std::function<void(int)> listener) { g_listener = std::move(listener); }

} // namespace ep
