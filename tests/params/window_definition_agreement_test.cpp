// The parameter table names controls of the window definition; these tests check that the names, kinds,
// bindings, design-time ranges and captions it relies on are those of the shipped definition, and that
// its defaults are the design-time EffectSet.

#include "params/display_formats.h"
#include "params/parameter_table.h"
#include "runtime/resources.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <string>

namespace ep {
namespace {

class WindowDefinitionAgreement : public ::testing::Test {
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

    static void ExpectKind(std::string_view name, const char* kind, int address) {
        const nlohmann::json* control = Control(name);
        ASSERT_NE(control, nullptr) << name << " of address " << address;
        EXPECT_EQ(control->at("kind"), kind) << name << " of address " << address;
    }

    static std::map<std::string, nlohmann::json>* s_controls;
};

std::map<std::string, nlohmann::json>* WindowDefinitionAgreement::s_controls = nullptr;

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

bool HasBinding(const nlohmann::json& control, int event) {
    for (const nlohmann::json& binding : control.at("bindings"))
        if (binding.at("event") == event)
            return true;
    return false;
}

// ShowKtvBlock sets the ranges and captions of KTV rows 4..7 and all KTV captions; ShowMusicAuxPage
// those of the 辅助 page. Everything else keeps what the definition gives.
bool RangeComesFromTheDefinition(const ParameterRow& row) {
    if (row.page == MusicPage::Auxiliary)
        return false;
    const bool rewrittenKtvRow = (row.block == Block::KtvTypeA || row.block == Block::KtvTypeB) &&
                                 row.fieldOffset >= 12 && row.fieldOffset <= 21;
    return !rewrittenKtvRow;
}

bool CaptionComesFromTheDefinition(const ParameterRow& row) {
    if (row.page == MusicPage::Auxiliary)
        return false;
    return row.block != Block::KtvTypeA && (row.block != Block::KtvTypeB || row.address >= 47);
}

TEST_F(WindowDefinitionAgreement, EditingControlsExistWithTheirKindAndBinding) {
    for (const ParameterRow& row : ParameterRows()) {
        std::vector<std::string_view> editors(row.choiceLabels.begin(), row.choiceLabels.end());
        if (!row.editControl.empty())
            editors.push_back(row.editControl);
        ASSERT_FALSE(editors.empty()) << row.address;
        for (std::string_view editor : editors) {
            ExpectKind(editor, KindOfEditControl(row.editKind), row.address);
            if (const nlohmann::json* control = Control(editor)) {
                EXPECT_TRUE(HasBinding(*control, EventNumber(row.editEvent))) << editor;
            }
        }
    }
}

TEST_F(WindowDefinitionAgreement, DisplayCaptionAndLimitControlsExist) {
    for (const ParameterRow& row : ParameterRows()) {
        if (row.editKind == EditKind::Slider)
            ExpectKind(row.displayControl, "EditBox", row.address);
        if (!row.captionLabel.empty())
            ExpectKind(row.captionLabel, "Label", row.address);
        if (!row.limitControl.empty())
            ExpectKind(row.limitControl, "EditBox", row.address);
        if (row.block != Block::Global)
            ExpectKind(SelectorOfBlock(row.block), "ComboBox", row.address);
    }
}

TEST_F(WindowDefinitionAgreement, SliderRangesAreThoseOfTheDefinitionWhereItGivesThem) {
    for (const ParameterRow& row : ParameterRows()) {
        if (row.editKind != EditKind::Slider || !RangeComesFromTheDefinition(row))
            continue;
        const nlohmann::json* slider = Control(row.editControl);
        ASSERT_NE(slider, nullptr) << row.editControl;
        EXPECT_EQ(slider->at("minimum"), row.minimum) << row.editControl << " address " << row.address;
        EXPECT_EQ(slider->at("maximum"), row.maximum) << row.editControl << " address " << row.address;
    }
}

TEST_F(WindowDefinitionAgreement, CaptionsAreThoseOfTheDefinitionWhereNoDisplayRoutineRewritesThem) {
    for (const ParameterRow& row : ParameterRows()) {
        if (row.captionLabel.empty() || !CaptionComesFromTheDefinition(row))
            continue;
        const nlohmann::json* label = Control(row.captionLabel);
        ASSERT_NE(label, nullptr) << row.captionLabel;
        EXPECT_EQ(label->at("caption").get<std::string>(), row.name) << row.captionLabel;
    }
}

TEST_F(WindowDefinitionAgreement, SelectorRangesMatchTheModeLists) {
    for (const ParameterRow& row : ParameterRows()) {
        if (row.editKind != EditKind::Selector)
            continue;
        const nlohmann::json* combo = Control(row.editControl);
        ASSERT_NE(combo, nullptr) << row.editControl;
        const nlohmann::json& items = combo->at("items");
        ASSERT_GT(items.size(), static_cast<std::size_t>(row.maximum)) << row.editControl;
        EXPECT_FALSE(items.at(static_cast<std::size_t>(row.maximum)).get<std::string>().empty())
            << row.editControl;
    }
}

TEST_F(WindowDefinitionAgreement, DefaultsMakeTheDesignTimeEffectSet) {
    std::string defaults(EffectSetLength, '?');
    for (const ParameterRow& row : ParameterRows()) {
        const int firstIndex = row.block == Block::KtvTypeB ? 4 : 0;
        for (int index = firstIndex; index < firstIndex + 6; ++index) {
            const std::optional<FieldLocation> location = LocateField(row, index);
            if (location)
                defaults.replace(static_cast<std::size_t>(location->position - 1), 3,
                                 ThreeDigitText(row.defaultValue));
        }
    }
    const nlohmann::json* set = Control("编辑框7");
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(defaults, set->at("content").get<std::string>());
}

} // namespace
} // namespace ep
