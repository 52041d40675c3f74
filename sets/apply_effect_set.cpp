#include "sets/apply_effect_set.h"

#include "params/display_formats.h"
#include "params/param_globals.h"
#include "runtime/conversions.h"
#include "runtime/text.h"
#include "sets/set_fields.h"

#include <array>

namespace ep {
namespace {

Text Decimal(double value) { return ToText(Value(TruncToInt(value))); }

/// A slider row of a block: its slider and value box, the K of position = K − v, and its display.
enum class Display { SignedDb, Plain, Db, TensOfHz, Delay, Seconds, MsTimesThree };

struct SliderRow {
    const char* slider;
    const char* box;
    int constant;
    Display display;
};

Text DisplayText(Display display, int position, int constant) {
    switch (display) {
    case Display::SignedDb:
        return SignedDbText(position, LookupBounds::DefaultEntry);
    case Display::Plain:
        return Decimal(constant - position);
    case Display::Db:
        return ConcatText({Decimal(constant - position), "dB"});
    case Display::TensOfHz:
        return ConcatText({Decimal(constant - position), "0HZ"});
    case Display::Delay:
        return DelayText(constant - position, LookupBounds::DefaultEntry);
    case Display::Seconds:
        return SecondsText(constant - position);
    case Display::MsTimesThree:
        return ConcatText({Decimal((constant - position) * 3), "ms"});
    }
    return {};
}

void ShowRow(const SliderRow& row, int fieldPosition) {
    const int position = PlaceSlider(row.slider, row.constant - FieldAt(fieldPosition));
    SetContent(row.box, DisplayText(row.display, position, row.constant));
}

constexpr std::array<SliderRow, 9> kMicRows = {{
    {"滑块条19", "编辑框29", 21, Display::SignedDb},
    {"滑块条18", "编辑框28", 21, Display::SignedDb},
    {"滑块条17", "编辑框27", 21, Display::SignedDb},
    {"滑块条16", "编辑框26", 21, Display::SignedDb},
    {"滑块条20", "编辑框30", 21, Display::SignedDb},
    {"滑块条15", "编辑框25", 21, Display::SignedDb},
    {"滑块条13", "编辑框23", 21, Display::SignedDb},
    {"滑块条14", "编辑框24", 3, Display::Db},
    {"滑块条12", "编辑框22", 17, Display::TensOfHz},
}};

/// The equaliser bands of the music block, offsets 0..6; the ones the 辅助 page re-ranges are marked.
struct EqBand {
    const char* caption;
    const char* name;
    const char* slider;
    const char* box;
    bool rerangedByAuxPage;
};

constexpr std::array<EqBand, 7> kEqBands = {{
    {"标签3", "57HZ", "滑块条4", "编辑框14", true},
    {"标签10", "134HZ", "滑块条5", "编辑框15", true},
    {"标签4", "400HZ", "滑块条6", "编辑框16", false},
    {"标签5", "1KHZ", "滑块条7", "编辑框17", false},
    {"标签6", "2.5KHZ", "滑块条8", "编辑框18", false},
    {"标签7", "6.3KHZ", "滑块条9", "编辑框19", true},
    {"标签8", "16KHZ", "滑块条10", "编辑框20", true},
}};

/// The 辅助 page rows, offsets 9..16: caption, slider range, and whether the box shows the field itself.
struct AuxRow {
    const char* caption;
    const char* name;
    const char* slider;
    const char* box;
    int constant;
    int maximum; ///< 0: the range of the 均衡 page stays
    int minimum;
    int tickFrequency;
    Display display;
};

constexpr std::array<AuxRow, 8> kAuxRows = {{
    {"标签3", "C_Music_Vol", "滑块条4", "编辑框14", 81, 81, 1, 4, Display::Plain},
    {"标签10", "C_Mic_Vol", "滑块条5", "编辑框15", 81, 81, 1, 4, Display::Plain},
    {"标签4", "C_Bass", "滑块条6", "编辑框16", 21, 0, 0, 0, Display::SignedDb},
    {"标签5", "C_Mid", "滑块条7", "编辑框17", 21, 0, 0, 0, Display::SignedDb},
    {"标签6", "C_Treble", "滑块条8", "编辑框18", 21, 0, 0, 0, Display::SignedDb},
    {"标签7", "SUB Freq", "滑块条9", "编辑框19", 25, 23, 2, 1, Display::TensOfHz},
    {"标签8", "SUB MicON Vol", "滑块条10", "编辑框20", 81, 81, 1, 4, Display::Plain},
    {"标签9", "SUB Vol", "滑块条11", "编辑框21", 81, 81, 1, 4, Display::Plain},
}};

/// One row of the effect area in each layout: captions and left edges, and what the row shows.
struct KtvLayoutRow {
    const char* captionLabel;
    const char* topScale;
    const char* bottomScale;
    const char* box;
    const char* slider;
    struct Layout {
        const char* caption;
        int captionLeft;
        int scaleLeft;
        int boxLeft;
        int sliderLeft;
        const char* topScaleCaption; ///< nullptr: left as it is
        int maximum;                 ///< 0: the range of the definition stays
        int minimum;
        int tickFrequency;
        int constant;
        Display display;
    } typeB, typeA;
};

constexpr std::array<KtvLayoutRow, 8> kKtvRows = {{
    {"标签99",
     "标签108",
     "标签107",
     "编辑框40",
     "滑块条30",
     {"Echo Rep", 84, 137, 99, 99, nullptr, 0, 0, 0, 16, Display::Plain},
     {"EchoA Rep", 140, 193, 155, 154, nullptr, 0, 0, 0, 16, Display::Plain}},
    {"标签100",
     "标签109",
     "标签110",
     "编辑框39",
     "滑块条29",
     {"Echo Dly", 156, 208, 171, 170, nullptr, 0, 0, 0, 16, Display::Delay},
     {"EchoA Dly", 219, 271, 233, 232, nullptr, 0, 0, 0, 16, Display::Delay}},
    {"标签101",
     "标签111",
     "标签112",
     "编辑框38",
     "滑块条28",
     {"Echo Vol", 225, 280, 242, 241, nullptr, 0, 0, 0, 80, Display::Plain},
     {"EchoA Vol", 300, 356, 318, 317, nullptr, 0, 0, 0, 80, Display::Plain}},
    {"标签102",
     "标签113",
     "标签114",
     "编辑框37",
     "滑块条27",
     {"Rev Vol", 301, 351, 313, 312, nullptr, 0, 0, 0, 80, Display::Plain},
     {"EchoB Vol", 388, 439, 401, 400, nullptr, 0, 0, 0, 80, Display::Plain}},
    {"标签103",
     "标签115",
     "标签116",
     "编辑框36",
     "滑块条26",
     {"Rev1 Time", 364, 422, 384, 383, "6S", 60, 0, 3, 60, Display::Seconds},
     {"EchoB H_Cut", 470, 524, 486, 485, "100", 100, 0, 5, 100, Display::Plain}},
    {"标签104",
     "标签117",
     "标签118",
     "编辑框31",
     "滑块条21",
     {"Rev2 Time", 441, 493, 455, 454, "6S", 60, 0, 3, 60, Display::Seconds},
     {"EchoB L/R", 552, 609, 571, 570, "127", 127, 0, 6, 127, Display::Plain}},
    {"标签105",
     "标签119",
     "标签120",
     "编辑框35",
     "滑块条25",
     {"Rev3 Time", 506, 564, 526, 525, "6S", 60, 0, 3, 60, Display::Seconds},
     {"EchoB Rep", 634, 692, 654, 653, "100", 100, 0, 5, 100, Display::Plain}},
    {"标签98",
     "标签121",
     "标签122",
     "编辑框34",
     "滑块条24",
     {"Rev Dly", 585, 635, 597, 596, "40", 40, 0, 2, 40, Display::Plain},
     {"EchoB Dly", 727, 777, 739, 738, "381", 127, 0, 6, 127, Display::MsTimesThree}},
}};

constexpr std::array<const char*, 10> kTypeBOnlyShowOrder = {"标签123",  "标签124",  "标签125", "标签126",  "标签97",
                                                             "编辑框33", "滑块条23", "标签106", "编辑框32", "滑块条22"};
constexpr std::array<const char*, 10> kTypeBOnlyHideOrder = {"标签97",  "标签123", "标签124", "编辑框33", "滑块条23",
                                                             "标签106", "标签125", "标签126", "编辑框32", "滑块条22"};

constexpr std::array<const char*, 11> kKeyLabelsByValue = {
    "key_b5", "key_b4", "key_b3", "key_b2", "key_b1", "key_井0", "key_井1", "key_井2", "key_井3", "key_井4", "key_井5"};

void ShowChoice(int position, const std::array<const char*, 3>& labels) {
    for (int value = 0; value < static_cast<int>(labels.size()); ++value) {
        if (!FieldEquals(position, value))
            continue;
        for (int other = 0; other < static_cast<int>(labels.size()); ++other)
            SetTextColour(labels[static_cast<std::size_t>(other)], other == value ? kRed : kGrey);
    }
}

void ShowKey() {
    for (int value = 10; value >= 0; --value) {
        if (!FieldEquals(55, value))
            continue;
        for (int other = 0; other <= 10; ++other)
            SetTextColour(kKeyLabelsByValue[static_cast<std::size_t>(other)], other == value ? kRed : kGrey);
    }
}

void ShowMusicSwitches() {
    const int start = MusicBlockStart();
    const bool effectInCentre = !FieldEquals(start + 21, 0);
    SetCaption("标签2", effectInCentre ? "ON" : "OFF");
    SetTextColour("标签2", effectInCentre ? kRed : kBlack);
    const bool subInverted = FieldEquals(start + 24, 1);
    SetCaption("标签22", subInverted ? " 180°" : "  O°");
    SetTextColour("标签22", subInverted ? kRed : kBlack);
}

void SetScaleCaptions(const std::array<std::pair<const char*, const char*>, 10>& captions) {
    for (const auto& [label, caption] : captions)
        SetCaption(label, caption);
}

} // namespace

void ApplyEffectSet() {
    SetTextColour("均衡", kTabHighlight);
    SetTextColour("辅助", kBlack);
    for (const auto& [position, slider, box] :
         {std::tuple{7, "Music_Vol调节", "Music_Vol显示"}, std::tuple{4, "Mic_Vol调节", "Mic_Vol显示"},
          std::tuple{1, "Eff_Vol调节", "Eff_Vol显示"}}) {
        ControlNamed(slider).write(prop::slider::Position, TruncToInt(FieldAt(position)));
        SetContent(box, ToText(Value(ControlNamed(slider).readInt(prop::slider::Position))));
    }
    // Each maximum before its minimum: the minimum's handler holds it against the maximum box, which must
    // already show the new set's maximum, not the old one.
    for (const auto& [position, box] :
         {std::pair{25, "Music_Vol_set_Max"}, std::pair{22, "Music_Vol_set_Min"}, std::pair{19, "Mic_Vol_set_Max"},
          std::pair{16, "Mic_Vol_set_Min"}, std::pair{13, "Eff_Vol_set_Max"}, std::pair{10, "Eff_Vol_set_Min"}})
        SetContent(box, ToText(Value(FieldAt(position))));
    for (const auto& [position, selector] :
         {std::pair{34, "MUSIC_MODE1"}, std::pair{31, "MIC_MODE1"}, std::pair{28, "KTV_MODE1"},
          std::pair{43, "MUSIC_MODE"}, std::pair{40, "MIC_MODE"}, std::pair{37, "KTV_MODE"}})
        ControlNamed(selector).write(prop::combo::Selection, TruncToInt(FieldAt(position)));
    ShowChoice(46, {"AUTO", "BGM", "AUX"});
    ShowKey();
    for (const auto& [position, label] :
         {std::pair{52, "EX"}, std::pair{49, "FBX"}, std::pair{58, "Mute"}, std::pair{61, "Lock"}})
        SetTextColour(label, FieldEquals(position, 0) ? kGrey : kRed);
    ShowMusicSwitches();
    ShowMusicEqPage();
    ShowMicBlock();
    ShowKtvBlock();
    SetLoaded = 1;
}

void ShowMusicEqPage() {
    SetVisible("标签15", true);
    SetVisible("标签17", true);
    SetVisible("标签56", true);
    SetVisible("标签59", true);
    SetScaleCaptions({{{"标签14", "-10"},
                       {"标签13", "+10"},
                       {"标签18", "-10"},
                       {"标签16", "+10"},
                       {"标签57", "-10"},
                       {"标签55", "+10"},
                       {"标签60", "-10"},
                       {"标签58", "+10"},
                       {"标签63", "OFF"},
                       {"标签61", "2V"}}});
    const int start = MusicBlockStart();
    for (std::size_t offset = 0; offset < kEqBands.size(); ++offset) {
        const EqBand& band = kEqBands[offset];
        SetCaption(band.caption, band.name);
        if (band.rerangedByAuxPage)
            SetSliderRange(band.slider, 21, 1, 1);
        const int position = PlaceSlider(band.slider, 21 - FieldAt(start + 3 * static_cast<int>(offset)));
        SetContent(band.box, SignedDbText(position, LookupBounds::DefaultEntry));
    }
    SetCaption("标签9", "Out Limit");
    SetSliderRange("滑块条11", 6, 0, 1);
    const int position = PlaceSlider("滑块条11", 6 - FieldAt(start + 51));
    if (const auto level = LevelText(position))
        SetContent("编辑框21", *level);
}

void ShowMusicAuxPage() {
    SetTextColour("均衡", kBlack);
    SetTextColour("辅助", kTabHighlight);
    const int start = MusicBlockStart() + 27;
    SetVisible("标签15", false);
    SetVisible("标签17", false);
    SetVisible("标签56", false);
    SetVisible("标签59", false);
    SetScaleCaptions({{{"标签14", "0"},
                       {"标签13", "80"},
                       {"标签18", "0"},
                       {"标签16", "80"},
                       {"标签57", "20HZ"},
                       {"标签55", "230HZ"},
                       {"标签60", "0"},
                       {"标签58", "80"},
                       {"标签63", "0"},
                       {"标签61", "80"}}});
    for (std::size_t index = 0; index < kAuxRows.size(); ++index) {
        const AuxRow& row = kAuxRows[index];
        const int field = start + 3 * static_cast<int>(index);
        SetCaption(row.caption, row.name);
        if (row.maximum != 0)
            SetSliderRange(row.slider, row.maximum, row.minimum, row.tickFrequency);
        const double value = FieldAt(field);
        const int position = PlaceSlider(row.slider, row.constant - value);
        switch (row.display) {
        case Display::SignedDb:
            SetContent(row.box, SignedDbText(position, LookupBounds::DefaultEntry));
            break;
        case Display::TensOfHz:
            SetContent(row.box, ConcatText({ToText(Value(value)), "0HZ"}));
            break;
        default:
            SetContent(row.box, ToText(Value(value)));
        }
    }
}

void ShowMicBlock() {
    const int start = MicBlockStart();
    for (std::size_t offset = 0; offset < kMicRows.size(); ++offset)
        ShowRow(kMicRows[offset], start + 3 * static_cast<int>(offset));
}

void ShowKtvBlock() {
    const int start = KtvBlockStart();
    const bool typeB = KtvTypeB();
    for (std::size_t offset = 0; offset < kKtvRows.size(); ++offset) {
        const KtvLayoutRow& row = kKtvRows[offset];
        const KtvLayoutRow::Layout& layout = typeB ? row.typeB : row.typeA;
        SetCaption(row.captionLabel, layout.caption);
        SetLeft(row.captionLabel, layout.captionLeft);
        SetLeft(row.topScale, layout.scaleLeft);
        SetLeft(row.bottomScale, layout.scaleLeft);
        SetLeft(row.box, layout.boxLeft);
        SetLeft(row.slider, layout.sliderLeft);
        if (layout.topScaleCaption != nullptr)
            SetCaption(row.topScale, layout.topScaleCaption);
        if (layout.maximum != 0)
            SetSliderRange(row.slider, layout.maximum, layout.minimum, layout.tickFrequency);
        ShowRow({row.slider, row.box, layout.constant, layout.display}, start + 3 * static_cast<int>(offset));
    }
    if (typeB) {
        ShowRow({"滑块条23", "编辑框33", 100, Display::Plain}, start + 24);
        ShowRow({"滑块条22", "编辑框32", 100, Display::Plain}, start + 27);
        for (const char* control : kTypeBOnlyShowOrder)
            SetVisible(control, true);
    } else {
        for (const char* control : kTypeBOnlyHideOrder)
            SetVisible(control, false);
    }
}

} // namespace ep
