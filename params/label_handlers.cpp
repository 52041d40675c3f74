#include "params/label_handlers.h"

#include "link/device_link.h"
#include "link/link_globals.h"
#include "params/block_display.h"
#include "params/param_globals.h"
#include "params/parameter_frames.h"
#include "runtime/conversions.h"
#include "runtime/text.h"

#include <array>
#include <cmath>
#include <map>

namespace ep {
namespace {

constexpr double kTolerance = 0.0000001;
constexpr int kMusicFirstPosition = 442;
constexpr int kMusicModeLength = 54;
constexpr int kEffectInCentreOffset = 21;
constexpr int kSubInvertOffset = 24;
constexpr std::int32_t kLimitHighest = 80;

Colour TextColourOf(Control& label) { return label.readInt(prop::translabel::TextColour); }
void SetTextColourOf(Control& label, Colour colour) { label.write(prop::translabel::TextColour, colour); }
Text CaptionOf(Control& label) { return label.readText(prop::translabel::Caption); }
void SetCaptionOf(Control& label, const Text& caption) { label.write(prop::translabel::Caption, caption); }

/// The mode index of MUSIC_MODE, or empty when nothing is selected.
std::optional<int> MusicMode() {
    const int index = ControlNamed("MUSIC_MODE").readInt(prop::combo::Selection);
    return index >= 0 && index <= 5 ? std::optional<int>(index) : std::nullopt;
}

/// A selection outside the list reads from the start of the text, as the set display does.
int MusicFieldPosition(int mode, int offset) {
    return (mode >= 0 && mode <= 5 ? kMusicFirstPosition + kMusicModeLength * mode : 0) + offset;
}

void Run(const std::function<void()>& routine) {
    if (routine)
        routine();
}

double FieldNumber(int position) { return ToNumber(Value(MidText(EffectSetText(), position, 3))); }

const std::map<Text, int> kColourSwitchAddresses = {{"FBX", 17}, {"EX", 18}, {"Lock", 21}};

struct ChoiceGroup {
    int address;
    std::vector<Text> labels; ///< by value
    bool isKey;
};

const std::array<ChoiceGroup, 2> kChoiceGroups = {{
    {16, {"AUTO", "BGM", "AUX"}, false},
    {19,
     {"key_b5", "key_b4", "key_b3", "key_b2", "key_b1", "key_井0", "key_井1", "key_井2", "key_井3", "key_井4",
      "key_井5"},
     true},
}};
constexpr std::int32_t kNeutralKey = 5;

struct CaptionSwitch {
    int address;
    int offset;
    const char* onCaption;
    const char* offCaption;
};

const std::map<Text, CaptionSwitch> kCaptionSwitches = {
    {"标签2", {56, kEffectInCentreOffset, "ON", "OFF"}},
    {"标签22", {57, kSubInvertOffset, " 180°", "  O°"}},
};

const std::map<Text, int> kTopSelectorAddresses = {{"KTV_MODE1", 10}, {"MIC_MODE1", 11}, {"MUSIC_MODE1", 12}};
const std::map<Text, int> kBlockSelectorAddresses = {{"KTV_MODE", 13}, {"MIC_MODE", 14}, {"MUSIC_MODE", 15}};

struct LimitBox {
    int address;
    const char* maximumBox; ///< nullptr for a maximum box
};

const std::map<Text, LimitBox> kLimitBoxes = {
    {"Eff_Vol_set_Min", {4, "Eff_Vol_set_Max"}},     {"Eff_Vol_set_Max", {5, nullptr}},
    {"Mic_Vol_set_Min", {6, "Mic_Vol_set_Max"}},     {"Mic_Vol_set_Max", {7, nullptr}},
    {"Music_Vol_set_Min", {8, "Music_Vol_set_Max"}}, {"Music_Vol_set_Max", {9, nullptr}},
};

void SendGlobal(int address, std::int32_t value, ValueWidth width) {
    SendParameterAndWriteField(0, address, value, width, GlobalFieldPosition(address));
}

/// The limit box's content after clamping, written back only when it changes, which raises this
/// handler once more, nested.
void ClampLimitBox(Control& box, const LimitBox& limit) {
    const auto content = [&box] { return ToInt(Value(box.readText(prop::editbox::Content))); };
    if (limit.maximumBox == nullptr) {
        if (content() > kLimitHighest)
            box.write(prop::editbox::Content, Text("80"));
    } else {
        Control& maximum = ControlNamed(limit.maximumBox);
        if (content() > ToInt(Value(maximum.readText(prop::editbox::Content))))
            box.write(prop::editbox::Content, maximum.readText(prop::editbox::Content));
    }
    if (content() < 0)
        box.write(prop::editbox::Content, Text("0"));
}

} // namespace

void ColourSwitchPressed(const EventContext& context) {
    Control& label = context.source;
    const auto address = kColourSwitchAddresses.find(label.name());
    if (address == kColourSwitchAddresses.end())
        return;
    const bool wasOn = TextColourOf(label) == kRed;
    SetTextColourOf(label, wasOn ? kGrey : kRed);
    if (IsOnline())
        SendGlobal(address->second, wasOn ? 0 : 1, ValueWidth::FourBytes);
}

void MuteSwitchPressed(const EventContext& context) {
    Control& label = context.source;
    const bool wasMuted = TextColourOf(label) == kRed;
    SetTextColourOf(label, wasMuted ? kGrey : kRed);
    for (const auto& [slider, box, position] :
         {std::tuple{"Music_Vol调节", "Music_Vol显示", 7}, std::tuple{"Mic_Vol调节", "Mic_Vol显示", 4},
          std::tuple{"Eff_Vol调节", "Eff_Vol显示", 1}}) {
        Control& volume = ControlNamed(slider);
        volume.write(prop::slider::Position, wasMuted ? TruncToInt(FieldNumber(position)) : 0);
        ControlNamed(box).write(prop::editbox::Content, ToText(Value(volume.readInt(prop::slider::Position))));
    }
    if (IsOnline())
        SendGlobal(20, wasMuted ? 0 : 1, ValueWidth::FourBytes);
}

void CaptionSwitchPressed(const EventContext& context) {
    Control& label = context.source;
    const auto found = kCaptionSwitches.find(label.name());
    if (found == kCaptionSwitches.end())
        return;
    const CaptionSwitch& captionSwitch = found->second;
    const bool wasOn = CaptionOf(label) == captionSwitch.onCaption;
    SetCaptionOf(label, wasOn ? captionSwitch.offCaption : captionSwitch.onCaption);
    SetTextColourOf(label, wasOn ? kBlack : kRed);
    const auto mode = MusicMode();
    if (mode && IsOnline())
        SendParameterAndWriteField(*mode, captionSwitch.address, wasOn ? 0 : 1, ValueWidth::FourBytes,
                                   MusicFieldPosition(*mode, captionSwitch.offset));
}

void ChoiceLabelPressed(const EventContext& context) {
    for (const ChoiceGroup& group : kChoiceGroups) {
        for (std::size_t value = 0; value < group.labels.size(); ++value) {
            if (group.labels[value] != context.source.name())
                continue;
            const auto chosen = static_cast<std::int32_t>(value);
            if (group.isKey)
                KeyChanged = chosen == kNeutralKey ? 0 : 1;
            if (IsOnline())
                SendGlobal(group.address, chosen, ValueWidth::FourBytes);
            for (std::size_t other = 0; other < group.labels.size(); ++other)
                SetTextColourOf(ControlNamed(group.labels[other]), other == value ? kRed : kGrey);
            return;
        }
    }
}

void TopSelectorClosed(const EventContext& context) {
    const auto address = kTopSelectorAddresses.find(context.source.name());
    if (address != kTopSelectorAddresses.end() && IsOnline())
        SendGlobal(address->second, context.source.readInt(prop::combo::Selection), ValueWidth::OneByte);
}

void BlockSelectorClosed(const EventContext& context) {
    Control& selector = context.source;
    const auto address = kBlockSelectorAddresses.find(selector.name());
    if (address == kBlockSelectorAddresses.end())
        return;
    if (selector.name() == "MUSIC_MODE") {
        ControlNamed("均衡").write(prop::translabel::TextColour, kTabHighlight);
        ControlNamed("辅助").write(prop::translabel::TextColour, kBlack);
        const int mode = selector.readInt(prop::combo::Selection);
        const double effectInCentre = FieldNumber(MusicFieldPosition(mode, kEffectInCentreOffset));
        SetCaptionOf(ControlNamed("标签2"), std::abs(effectInCentre) <= kTolerance ? "OFF" : "ON");
        const double subInvert = FieldNumber(MusicFieldPosition(mode, kSubInvertOffset));
        SetCaptionOf(ControlNamed("标签22"), std::abs(subInvert - 1) <= kTolerance ? " 180°" : "  O°");
        Run(BlockDisplay().showMusicEqPage);
    } else if (selector.name() == "MIC_MODE") {
        Run(BlockDisplay().showMicBlock);
    } else {
        Run(BlockDisplay().showKtvBlock);
    }
    if (IsOnline())
        SendGlobal(address->second, selector.readInt(prop::combo::Selection), ValueWidth::OneByte);
}

void LimitBoxChanged(const EventContext& context) {
    Control& box = context.source;
    const auto limit = kLimitBoxes.find(box.name());
    if (limit == kLimitBoxes.end())
        return;
    if (SetLoaded != 0)
        ClampLimitBox(box, limit->second);
    if (IsOnline())
        SendGlobal(limit->second.address, ToByte(Value(box.readText(prop::editbox::Content))), ValueWidth::OneByte);
}

} // namespace ep
