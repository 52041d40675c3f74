#pragma once
/// The key codes that key events carry: the original platform's virtual-key numbers, from Qt's keys.

#include <Qt>

namespace ep::qt {

/// The virtual-key code of a Qt key (the keypad flag picks the keypad's own codes); 0 when it has none.
int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

/// The key state bits that mouse and key events carry: 1 Ctrl, 2 Shift, 4 Alt.
int KeyStateOf(Qt::KeyboardModifiers modifiers);

} // namespace ep::qt
