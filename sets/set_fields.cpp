#include "sets/set_fields.h"

#include "link/device_link.h"
#include "runtime/conversions.h"
#include "runtime/text.h"

#include <algorithm>
#include <cmath>

namespace ep {
namespace {

constexpr double kTolerance = 0.0000001;

int Selection(const Text& selector) { return ControlNamed(selector).readInt(prop::combo::Selection); }

} // namespace

double FieldAt(int position) { return ToNumber(Value(MidText(EffectSetText(), position, 3))); }

bool FieldEquals(int position, double value) { return std::abs(FieldAt(position) - value) <= kTolerance; }

int MusicBlockStart() {
    const int index = Selection("MUSIC_MODE");
    return index >= 0 && index <= 5 ? 442 + 54 * index : 0;
}

int MicBlockStart() {
    const int index = Selection("MIC_MODE");
    return index >= 0 && index <= 5 ? 64 + 27 * index : 0;
}

int KtvBlockStart() {
    const int index = Selection("KTV_MODE");
    if (index >= 0 && index <= 3)
        return 226 + 24 * index;
    if (index >= 4 && index <= 7)
        return 322 + 30 * (index - 4);
    return 0;
}

bool KtvTypeB() { return Selection("KTV_MODE") > 3; }

int PlaceSlider(const Text& name, double position) {
    Control& slider = ControlNamed(name);
    slider.write(prop::slider::Position, TruncToInt(position));
    const int minimum = slider.readInt(prop::slider::Minimum);
    const int maximum = slider.readInt(prop::slider::Maximum);
    return std::clamp(slider.readInt(prop::slider::Position), std::min(minimum, maximum), std::max(minimum, maximum));
}

void SetCaption(const Text& label, const Text& caption) {
    Control& control = ControlNamed(label);
    control.write(control.kind() == ControlKind::TransLabel ? prop::translabel::Caption : prop::label::Caption,
                  caption);
}

void SetContent(const Text& editBox, const Text& content) {
    ControlNamed(editBox).write(prop::editbox::Content, content);
}

void SetLeft(const Text& control, int left) { ControlNamed(control).write(prop::Left, left); }

void SetVisible(const Text& control, bool visible) { ControlNamed(control).write(prop::Visible, visible); }

void SetTextColour(const Text& label, Colour colour) {
    Control& control = ControlNamed(label);
    control.write(control.kind() == ControlKind::TransLabel ? prop::translabel::TextColour : prop::label::TextColour,
                  colour);
}

void SetSliderRange(const Text& name, int maximum, int minimum, int tickFrequency) {
    Control& slider = ControlNamed(name);
    slider.write(prop::slider::Maximum, maximum);
    slider.write(prop::slider::Minimum, minimum);
    slider.write(prop::slider::TickFrequency, tickFrequency);
}

} // namespace ep
