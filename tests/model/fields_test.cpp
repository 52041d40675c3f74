#include "model/fields.h"
#include "model/lookup_tables.h"

#include <gtest/gtest.h>

#include <optional>

namespace ep {
namespace {

TEST(Fields, NamesTellTheModeAndTheParameter) {
    const struct {
        int field;
        const char* name;
    } cases[] = {{1, "Eff_Vol"},
                 {8, "Music_Vol Min"},
                 {13, "KTV_MODE"},
                 {16, "Source"},
                 {19, "Key"},
                 {22, "MIC1 57HZ"},
                 {34, "MIC2 1KHZ"},
                 {76, "KTV1 EchoA Rep"},
                 {112, "EFF1 Rev1 Time"},
                 {155, "MUSIC1 EFF In C"},
                 {255, "MUSIC6 Out Limit"}};
    for (const auto& c : cases) {
        EXPECT_EQ(FieldName(c.field), c.name) << c.field;
        EXPECT_EQ(FieldNamed(c.name), c.field) << c.name;
    }
}

TEST(Fields, NamesAreFoundWhateverTheCaseAndWithUnderscoresForBlanks) {
    EXPECT_EQ(FieldNamed("mic2_1khz"), 34);
    EXPECT_EQ(FieldNamed("  music_vol "), 3);
    EXPECT_EQ(FieldNamed("19"), 19);
    EXPECT_EQ(FieldNamed("256"), std::nullopt);
    EXPECT_EQ(FieldNamed("0"), std::nullopt);
    EXPECT_EQ(FieldNamed("MIC7 1KHZ"), std::nullopt);
}

TEST(Fields, ValuesReadAsTheWindowShowsThem) {
    FillLookupTables();
    const struct {
        int field;
        int value;
        const char* text;
    } cases[] = {{34, 13, "+3dB"},  {34, 10, "0dB"},    {77, 10, "135ms"}, {255, 3, "1.2V"}, {255, 0, "OFF"},
                 {112, 25, "2.5S"}, {83, 127, "381ms"}, {1, 38, "38"},     {1, 95, "80"},    {16, 1, "BGM"},
                 {19, 7, "#2"},     {13, 5, "EFF2"},    {10, 0, "KTV1"},   {17, 1, "ON"},    {17, 0, "OFF"},
                 {155, 1, "ON"},    {156, 1, "180°"},   {156, 0, "O°"},    {8, 40, "40"},    {30, 15, "150HZ"}};
    for (const auto& c : cases)
        EXPECT_EQ(ValueText(c.field, c.value), c.text) << FieldName(c.field) << " = " << c.value;
}

TEST(Fields, EveryTextOfAFieldReadsBackAsItsValue) {
    FillLookupTables();
    for (int field = 1; field <= EffectSetFieldCount; ++field) {
        const std::vector<int> values = ValuesOfField(field);
        ASSERT_FALSE(values.empty()) << field;
        for (const int value : values)
            EXPECT_EQ(ValueOfText(field, ValueText(field, value)), value) << FieldName(field) << " = " << value;
    }
    EXPECT_EQ(ValueOfText(34, "+11dB"), std::nullopt);
    EXPECT_EQ(ValueOfText(16, "bgm"), 1);
}

TEST(Fields, AValueIsTakenAsPeopleTypeItWhereverTheNumberAloneIsUnambiguous) {
    FillLookupTables();
    const struct {
        int field;
        const char* typed;
        std::optional<int> value;
    } cases[] = {
        {34, "+3dB", 13},  {34, "3dB", 13},   {34, "+3", 13},   {34, "3", 13},   {34, " 3DB ", 13}, {34, "-3dB", 7},
        {34, "-3", 7},     {34, "0", 10},     {34, "+11", {}},  {34, "3d", {}},  {77, "135ms", 10}, {77, "135", 10},
        {77, "135MS", 10}, {255, "1.2", 3},   {255, "1.2v", 3}, {255, "off", 0}, {255, "0", {}},    {112, "2.5", 25},
        {30, "150", 15},   {30, "150hz", 15}, {17, "ON", 1},    {17, "on", 1},   {17, "1", 1},      {17, "off", 0},
        {17, "0", 0},      {156, "180", 1},   {156, "180°", 1}, {156, "0", 0},   {156, "ON", 1},    {16, "bgm", 1},
        {19, "#2", 7},     {19, "2", {}},     {10, "KTV1", 0},  {10, "1", {}},   {1, "38", 38},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ValueOfText(c.field, c.typed), c.value) << FieldName(c.field) << " typed as '" << c.typed << "'";
    EXPECT_EQ(TypedForms(34, 13), (std::vector<Text>{"+3dB", "3dB", "+3", "3"}));
    EXPECT_EQ(TypedForms(34, 7), (std::vector<Text>{"-3dB", "-3"}));
    EXPECT_EQ(TypedForms(17, 1), (std::vector<Text>{"ON", "1"}));
}

TEST(Fields, TheSelectedModesAreThoseTheBandSelectorsPick) {
    std::vector<int> values(EffectSetFieldCount, 0);
    const auto set = [&values](const char* name, int value) {
        values[static_cast<std::size_t>(*FieldNamed(name) - 1)] = value;
    };
    set("MIC_MODE", 1);
    set("KTV_MODE", 5);
    set("MUSIC_MODE", 3);
    set("MIC_MODE1", 4);
    const struct {
        const char* name;
        bool selected;
    } cases[] = {{"Music_Vol", true},       {"Key", true},
                 {"MIC2 1KHZ", true},       {"MIC5 1KHZ", false},
                 {"MIC1 1KHZ", false},      {"EFF2 Rev1 Time", true},
                 {"EFF1 Rev1 Time", false}, {"KTV2 EchoA Rep", false},
                 {"MUSIC4 C_Bass", true},   {"MUSIC1 Out Limit", false}};
    for (const auto& c : cases)
        EXPECT_EQ(FieldInSelectedModes(*FieldNamed(c.name), values), c.selected) << c.name;
    set("KTV_MODE", 1);
    EXPECT_TRUE(FieldInSelectedModes(*FieldNamed("KTV2 EchoA Rep"), values));
    EXPECT_FALSE(FieldInSelectedModes(*FieldNamed("EFF2 Rev1 Time"), values)) << "the other type's mode";
}

} // namespace
} // namespace ep
