#include "qt/virtual_keys.h"

#include <algorithm>
#include <array>

namespace ep::qt {
namespace {

struct KeyCode {
    int qtKey;
    int virtualKey;
};

// Keys outside the letter, digit and function-key runs. Shifted punctuation reports the key it is on.
constexpr std::array kKeyCodes{
    KeyCode{Qt::Key_Backspace, 0x08},  KeyCode{Qt::Key_Tab, 0x09},         KeyCode{Qt::Key_Backtab, 0x09},
    KeyCode{Qt::Key_Clear, 0x0C},      KeyCode{Qt::Key_Return, 0x0D},      KeyCode{Qt::Key_Enter, 0x0D},
    KeyCode{Qt::Key_Shift, 0x10},      KeyCode{Qt::Key_Control, 0x11},     KeyCode{Qt::Key_Alt, 0x12},
    KeyCode{Qt::Key_Pause, 0x13},      KeyCode{Qt::Key_CapsLock, 0x14},    KeyCode{Qt::Key_Escape, 0x1B},
    KeyCode{Qt::Key_Space, 0x20},      KeyCode{Qt::Key_PageUp, 0x21},      KeyCode{Qt::Key_PageDown, 0x22},
    KeyCode{Qt::Key_End, 0x23},        KeyCode{Qt::Key_Home, 0x24},        KeyCode{Qt::Key_Left, 0x25},
    KeyCode{Qt::Key_Up, 0x26},         KeyCode{Qt::Key_Right, 0x27},       KeyCode{Qt::Key_Down, 0x28},
    KeyCode{Qt::Key_Print, 0x2C},      KeyCode{Qt::Key_Insert, 0x2D},      KeyCode{Qt::Key_Delete, 0x2E},
    KeyCode{Qt::Key_Meta, 0x5B},       KeyCode{Qt::Key_Menu, 0x5D},        KeyCode{Qt::Key_NumLock, 0x90},
    KeyCode{Qt::Key_ScrollLock, 0x91}, KeyCode{Qt::Key_ParenRight, 0x30},  KeyCode{Qt::Key_Exclam, 0x31},
    KeyCode{Qt::Key_At, 0x32},         KeyCode{Qt::Key_NumberSign, 0x33},  KeyCode{Qt::Key_Dollar, 0x34},
    KeyCode{Qt::Key_Percent, 0x35},    KeyCode{Qt::Key_AsciiCircum, 0x36}, KeyCode{Qt::Key_Ampersand, 0x37},
    KeyCode{Qt::Key_Asterisk, 0x38},   KeyCode{Qt::Key_ParenLeft, 0x39},   KeyCode{Qt::Key_Semicolon, 0xBA},
    KeyCode{Qt::Key_Colon, 0xBA},      KeyCode{Qt::Key_Equal, 0xBB},       KeyCode{Qt::Key_Plus, 0xBB},
    KeyCode{Qt::Key_Comma, 0xBC},      KeyCode{Qt::Key_Less, 0xBC},        KeyCode{Qt::Key_Minus, 0xBD},
    KeyCode{Qt::Key_Underscore, 0xBD}, KeyCode{Qt::Key_Period, 0xBE},      KeyCode{Qt::Key_Greater, 0xBE},
    KeyCode{Qt::Key_Slash, 0xBF},      KeyCode{Qt::Key_Question, 0xBF},    KeyCode{Qt::Key_QuoteLeft, 0xC0},
    KeyCode{Qt::Key_AsciiTilde, 0xC0}, KeyCode{Qt::Key_BracketLeft, 0xDB}, KeyCode{Qt::Key_BraceLeft, 0xDB},
    KeyCode{Qt::Key_Backslash, 0xDC},  KeyCode{Qt::Key_Bar, 0xDC},         KeyCode{Qt::Key_BracketRight, 0xDD},
    KeyCode{Qt::Key_BraceRight, 0xDD}, KeyCode{Qt::Key_Apostrophe, 0xDE},  KeyCode{Qt::Key_QuoteDbl, 0xDE},
};

// The keypad's operators and decimal point have codes of their own.
constexpr std::array kKeypadCodes{
    KeyCode{Qt::Key_Asterisk, 0x6A}, KeyCode{Qt::Key_Plus, 0x6B},  KeyCode{Qt::Key_Minus, 0x6D},
    KeyCode{Qt::Key_Period, 0x6E},   KeyCode{Qt::Key_Comma, 0x6E}, KeyCode{Qt::Key_Slash, 0x6F},
};

template <std::size_t N> int Lookup(const std::array<KeyCode, N>& table, int qtKey) {
    const auto found =
        std::find_if(table.begin(), table.end(), [qtKey](const KeyCode& entry) { return entry.qtKey == qtKey; });
    return found != table.end() ? found->virtualKey : 0;
}

} // namespace

int VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return keypad ? 0x60 + (qtKey - Qt::Key_0) : qtKey;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 0x70 + (qtKey - Qt::Key_F1);
    if (keypad)
        if (const int code = Lookup(kKeypadCodes, qtKey); code != 0)
            return code;
    return Lookup(kKeyCodes, qtKey);
}

int KeyStateOf(Qt::KeyboardModifiers modifiers) {
    return (modifiers.testFlag(Qt::ControlModifier) ? 1 : 0) | (modifiers.testFlag(Qt::ShiftModifier) ? 2 : 0) |
           (modifiers.testFlag(Qt::AltModifier) ? 4 : 0);
}

} // namespace ep::qt
