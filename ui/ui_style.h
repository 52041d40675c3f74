#pragma once
/// The themed look of the standard controls: style 1, 2 or 3 switches it on for every window, any other
/// number off. The view applies it; the logic only chooses.

#include <functional>

namespace ep {

void SetUiStyle(int style);
int UiStyle();
/// Called on every change, by the view that draws the controls.
void SetUiStyleListener(std::function<void(int style)> listener);

} // namespace ep
