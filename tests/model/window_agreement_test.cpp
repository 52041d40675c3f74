// The parameter model names controls, captions, items and defaults of the window definition, and lays
// out the fields as the device sends them: these tests walk the model against the shipped definition
// and against the simulated device's own field map.

#include "model/controls.h"
#include "model/display_formats.h"
#include "model/fields.h"
#include "model/layouts.h"
#include "model/parameters.h"
#include "runtime/resources.h"
#include "sim/field_map.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <set>
#include <string>

namespace ep {
namespace {

class WindowAgreement : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        const std::optional<std::string_view> definition = ProgramResource("main_window.json");
        ASSERT_TRUE(definition);
        s_controls = new std::map<std::string, nlohmann::json>;
        const nlohmann::json window = nlohmann::json::parse(*definition);
        for (const nlohmann::json& control : window.at("controls"))
            (*s_controls)[control.at("name").get<std::string>()] = control;
    }
    static void TearDownTestSuite() {
        delete s_controls;
        s_controls = nullptr;
    }

    static const nlohmann::json* Control(std::string_view name) {
        const auto found = s_controls->find(std::string(name));
        return found == s_controls->end() ? nullptr : &found->second;
    }

    /// The control exists and is of one of the kinds.
    static void ExpectKind(std::string_view name, std::initializer_list<const char*> kinds, const std::string& why) {
        const nlohmann::json* control = Control(name);
        ASSERT_NE(control, nullptr) << name << ", " << why;
        const std::string kind = control->at("kind");
        EXPECT_TRUE(std::any_of(kinds.begin(), kinds.end(), [&](const char* k) { return kind == k; }))
            << name << " is a " << kind << ", " << why;
    }

    static std::map<std::string, nlohmann::json>* s_controls;
};

std::map<std::string, nlohmann::json>* WindowAgreement::s_controls = nullptr;

const char* KindOfEditControl(EditKind kind) {
    switch (kind) {
    case EditKind::Slider:
        return "SliderBar";
    case EditKind::LimitBox:
        return "EditBox";
    case EditKind::Selector:
        return "ComboBox";
    case EditKind::ChoiceLabels:
    case EditKind::SwitchLabel:
        break;
    }
    return "TransLabel";
}

std::string Why(const ParameterRow& row) { return "address " + std::to_string(row.address); }

TEST_F(WindowAgreement, EveryControlARowNamesExistsWithTheKindTheRowExpectsAndIsBound) {
    for (const ParameterRow& row : ParameterRows()) {
        std::vector<std::string_view> editors;
        for (const Choice& choice : row.choices)
            editors.push_back(choice.label);
        if (!row.editControl.empty())
            editors.push_back(row.editControl);
        ASSERT_FALSE(editors.empty()) << Why(row);
        for (const std::string_view editor : editors) {
            ExpectKind(editor, {KindOfEditControl(row.editKind)}, Why(row));
            if (const nlohmann::json* control = Control(editor)) {
                EXPECT_FALSE(control->at("bindings").empty()) << editor << " has no handler";
            }
        }
        if (row.editKind == EditKind::Slider)
            ExpectKind(row.displayControl, {"EditBox"}, Why(row));
        if (!row.captionLabel.empty())
            ExpectKind(row.captionLabel, {"Label"}, Why(row));
        if (!row.limitControl.empty())
            ExpectKind(row.limitControl, {"EditBox"}, Why(row));
        if (row.block != Block::Global)
            ExpectKind(LayoutOf(row.block).selector, {"ComboBox"}, Why(row));
    }
}

TEST_F(WindowAgreement, TheNamedControlsAndTheLayoutsLabelsExist) {
    const struct {
        const char* name;
        const char* kind;
    } named[] = {{controls::ConnectTimer, "Timer"},      {controls::PingTimer, "Timer"},
                 {controls::Watchdog, "Timer"},          {controls::Port, "SerialPort"},
                 {controls::FoundPortBox, "EditBox"},    {controls::StatusLabel, "Label"},
                 {controls::EffectSetBox, "EditBox"},    {controls::ReplyBox, "EditBox"},
                 {controls::ProgressPanel, "DrawPanel"}, {controls::ProgressBar, "ProcessBar"},
                 {controls::FileDialog, "CommonDlg"},    {controls::EqualiserTab, "TransLabel"},
                 {controls::AuxiliaryTab, "TransLabel"}, {controls::RestoreButton, "Button"},
                 {controls::ReadButton, "Button"},       {controls::StoreButton, "Button"},
                 {controls::LoadButton, "Button"},       {controls::SaveButton, "Button"}};
    for (const auto& control : named)
        ExpectKind(control.name, {control.kind}, "a named control");
    for (const MusicPageLook* look : {&kEqualiserPageLook, &kAuxiliaryPageLook})
        for (const auto& [label, caption] : look->scaleCaptions)
            ExpectKind(label, {"Label", "TransLabel"}, "a music scale label");
    for (const std::string_view mark : kMiddleScaleMarks)
        ExpectKind(mark, {"Label", "TransLabel"}, "a middle scale mark");
    for (const KtvColumn& column : kKtvColumns)
        for (const std::string_view label : {column.topScale, column.bottomScale})
            ExpectKind(label, {"Label", "TransLabel"}, "a KTV scale label");
    const std::set<std::string_view> shown(kTypeBOnlyShowOrder.begin(), kTypeBOnlyShowOrder.end());
    EXPECT_EQ(shown, std::set<std::string_view>(kTypeBOnlyHideOrder.begin(), kTypeBOnlyHideOrder.end()));
    for (const std::string_view control : shown)
        ExpectKind(control, {"Label", "TransLabel", "EditBox", "SliderBar"}, "shown in type B only");
}

// ShowKtvBlock rewrites the KTV captions and the ranges of its last four columns, ShowMusicAuxPage those
// of the 辅助 page; everything else keeps what the definition gives.
TEST_F(WindowAgreement, RangesAndCaptionsAreTheDefinitionsWhereNoDisplayRewritesThem) {
    for (const ParameterRow& row : ParameterRows()) {
        const bool ktv = row.block == Block::KtvTypeA || row.block == Block::KtvTypeB;
        if (row.editKind == EditKind::Slider && !row.shownRange && row.page != MusicPage::Auxiliary) {
            const nlohmann::json* slider = Control(row.editControl);
            ASSERT_NE(slider, nullptr) << Why(row);
            EXPECT_EQ(slider->at("minimum"), row.minimum) << row.editControl << ", " << Why(row);
            EXPECT_EQ(slider->at("maximum"), row.maximum) << row.editControl << ", " << Why(row);
        }
        if (!row.captionLabel.empty() && row.page != MusicPage::Auxiliary && (!ktv || row.address >= 47)) {
            const nlohmann::json* label = Control(row.captionLabel);
            ASSERT_NE(label, nullptr) << Why(row);
            EXPECT_EQ(label->at("caption").get<std::string>(), row.name) << row.captionLabel;
        }
    }
}

TEST_F(WindowAgreement, SelectorItemsAreTheModeNamesAndChoiceCaptionsTheLabels) {
    for (const ParameterRow& row : ParameterRows()) {
        if (row.editKind == EditKind::Selector) {
            const nlohmann::json& items = Control(row.editControl)->at("items");
            for (int index = 0; index <= row.maximum; ++index)
                EXPECT_EQ(items.at(static_cast<std::size_t>(index)).get<std::string>(), ValueText(row.address, index))
                    << row.editControl << " item " << index;
        }
        for (const Choice& choice : row.choices)
            EXPECT_EQ(Control(choice.label)->at("caption").get<std::string>(), choice.caption) << choice.label;
    }
}

TEST_F(WindowAgreement, DefaultsMakeTheDesignTimeEffectSet) {
    std::string defaults(EffectSetLength, '?');
    for (int field = 1; field <= EffectSetFieldCount; ++field)
        defaults.replace(static_cast<std::size_t>(FieldPosition(field) - 1), FieldWidth,
                         ThreeDigitText(InfoOfField(field).row->defaultValue));
    EXPECT_EQ(defaults, Control(controls::EffectSetBox)->at("content").get<std::string>());
}

TEST(FieldOrder, EveryFieldCarriesTheParameterTheDeviceKeepsThere) {
    std::set<Text> names;
    for (int field = 1; field <= EffectSetFieldCount; ++field) {
        const std::optional<ChannelAddress> panel = ChannelAddressOfField(field);
        const std::optional<sim::ParameterKey> device = sim::KeyOfField(field);
        ASSERT_TRUE(panel && device) << field;
        EXPECT_EQ(panel->channel, device->channel) << field;
        EXPECT_EQ(panel->address, device->address) << field;
        EXPECT_TRUE(names.insert(FieldName(field)).second) << FieldName(field) << " names two fields";
        EXPECT_EQ(FieldNamed(FieldName(field)), field) << FieldName(field);
    }
}

} // namespace
} // namespace ep
