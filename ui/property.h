#pragma once
/// Property values and the numbers by which the logic reads and writes them. Colours are 0x00BBGGRR;
/// 0xFF000000 means the kind's default colour.

#include "runtime/value.h"

#include <cstdint>
#include <variant>

namespace ep {

struct Font {
    Text face;
    int height = 0; ///< character height in pixels
    int weight = 400;
    bool operator==(const Font&) const = default;
};

using Colour = std::int32_t;
constexpr Colour kDefaultColour = static_cast<Colour>(0xFF000000u);

/// From the definition's #RRGGBB form.
constexpr Colour ColourFromRgb(std::uint32_t rgb) {
    return static_cast<Colour>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
}

using PropertyValue = std::variant<std::int32_t, bool, Text, Font>;

enum class PropertyType { Integer, Boolean, Text, Font };

/// Property numbers, common ones first, then each kind's own from 8.
namespace prop {
constexpr int Left = 0;
constexpr int Top = 1;
constexpr int Width = 2;
constexpr int Height = 3;
constexpr int Tag = 4;
constexpr int Visible = 5;
constexpr int Disabled = 6;
constexpr int MousePointer = 7;

namespace label {
constexpr int Caption = 8;
constexpr int Font = 15;
constexpr int TextColour = 16;
constexpr int BackgroundColour = 17;
} // namespace label

namespace translabel {
constexpr int Caption = 8;
constexpr int Font = 10;
constexpr int TextColour = 11;
} // namespace translabel

namespace editbox {
constexpr int Content = 8;
constexpr int HideSelection = 13;
constexpr int MaximumLength = 14;
constexpr int MultiLine = 15;
constexpr int ScrollBars = 16;
constexpr int Alignment = 17;
constexpr int InputMode = 18;
} // namespace editbox

namespace button {
constexpr int Caption = 8;
} // namespace button

namespace slider {
constexpr int Vertical = 9;
constexpr int TickMarks = 10;
constexpr int TickFrequency = 11;
constexpr int PageSize = 15;
constexpr int LineSize = 16;
constexpr int Minimum = 17;
constexpr int Maximum = 18;
constexpr int Position = 19;
} // namespace slider

namespace combo {
constexpr int Type = 8;
constexpr int Selection = 19;
} // namespace combo

namespace progress {
constexpr int Minimum = 11;
constexpr int Maximum = 12;
constexpr int Position = 13;
} // namespace progress

namespace timer {
constexpr int Period = 8;
} // namespace timer

namespace dialog {
constexpr int Type = 8;
constexpr int FileName = 10;
} // namespace dialog
} // namespace prop

/// Event numbers: the kinds' own from 0, the common mouse and key events negative.
namespace event {
constexpr int Created = 0;
constexpr int PositionChanged = 0;
constexpr int ContentChanged = 0;
constexpr int UpDownClicked = 1;
constexpr int SelectionChanged = 0;
constexpr int ListClosed = 3;
constexpr int Clicked = 0;
constexpr int TimerTick = 0;
constexpr int LineEvent = 0;
constexpr int DataArrived = 1;

constexpr int LeftButtonPressed = -1;
constexpr int LeftButtonReleased = -2;
constexpr int DoubleClick = -3;
constexpr int RightButtonPressed = -4;
constexpr int RightButtonReleased = -5;
constexpr int MouseMoved = -6;
constexpr int GotFocus = -7;
constexpr int LostFocus = -8;
constexpr int KeyPressed = -9;
constexpr int KeyReleased = -10;
constexpr int CharacterTyped = -11;
constexpr int MouseWheel = -12;
} // namespace event

} // namespace ep
