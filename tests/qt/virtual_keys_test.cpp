#include "qt/virtual_keys.h"

#include <gtest/gtest.h>

namespace ep::qt {
namespace {

struct KeyCase {
    int qtKey;
    Qt::KeyboardModifiers modifiers;
    int virtualKey;
};

class VirtualKeysTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(VirtualKeysTest, QtKeysGiveTheVirtualKeyCodes) {
    const KeyCase& item = GetParam();
    EXPECT_EQ(VirtualKeyOf(item.qtKey, item.modifiers), item.virtualKey) << std::hex << item.qtKey;
}

INSTANTIATE_TEST_SUITE_P(Keys, VirtualKeysTest,
                         ::testing::Values(KeyCase{Qt::Key_A, {}, 0x41}, KeyCase{Qt::Key_Z, {}, 0x5A},
                                           KeyCase{Qt::Key_0, {}, 0x30}, KeyCase{Qt::Key_7, Qt::KeypadModifier, 0x67},
                                           KeyCase{Qt::Key_F1, {}, 0x70}, KeyCase{Qt::Key_F12, {}, 0x7B},
                                           KeyCase{Qt::Key_Return, {}, 0x0D},
                                           KeyCase{Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
                                           KeyCase{Qt::Key_Escape, {}, 0x1B}, KeyCase{Qt::Key_Left, {}, 0x25},
                                           KeyCase{Qt::Key_Up, {}, 0x26}, KeyCase{Qt::Key_Right, {}, 0x27},
                                           KeyCase{Qt::Key_Down, {}, 0x28}, KeyCase{Qt::Key_PageUp, {}, 0x21},
                                           KeyCase{Qt::Key_Home, {}, 0x24}, KeyCase{Qt::Key_Delete, {}, 0x2E},
                                           KeyCase{Qt::Key_Shift, {}, 0x10}, KeyCase{Qt::Key_Control, {}, 0x11},
                                           KeyCase{Qt::Key_Alt, {}, 0x12}, KeyCase{Qt::Key_Minus, {}, 0xBD},
                                           KeyCase{Qt::Key_Minus, Qt::KeypadModifier, 0x6D},
                                           KeyCase{Qt::Key_Exclam, {}, 0x31}, KeyCase{Qt::Key_Colon, {}, 0xBA},
                                           KeyCase{Qt::Key_BracketRight, {}, 0xDD}, KeyCase{Qt::Key_unknown, {}, 0}));

TEST(KeyState, CtrlShiftAndAltAreBitsOneTwoAndFour) {
    EXPECT_EQ(KeyStateOf(Qt::NoModifier), 0);
    EXPECT_EQ(KeyStateOf(Qt::ControlModifier), 1);
    EXPECT_EQ(KeyStateOf(Qt::ShiftModifier), 2);
    EXPECT_EQ(KeyStateOf(Qt::AltModifier), 4);
    EXPECT_EQ(KeyStateOf(Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier | Qt::MetaModifier), 7);
}

} // namespace
} // namespace ep::qt
