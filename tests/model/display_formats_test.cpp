#include "fatal_exit.h"
#include "model/display_formats.h"
#include "model/lookup_tables.h"
#include "test_host.h"

#include <gtest/gtest.h>

namespace ep {
namespace {

class DisplayFormats : public ::testing::Test {
  protected:
    void SetUp() override { FillLookupTables(); }
};

TEST_F(DisplayFormats, SignedDbTakesItsSignFromThePositionAndItsMagnitudeFromTheTable) {
    const struct {
        int position;
        const char* text;
    } cases[] = {{1, "+10dB"}, {2, "+9dB"}, {10, "+1dB"}, {11, "0dB"}, {12, "-1dB"}, {20, "-9dB"}, {21, "-10dB"}};
    for (const auto& c : cases) {
        EXPECT_EQ(SignedDbText(c.position, LookupBounds::RuntimeError), c.text) << c.position;
        EXPECT_EQ(SignedDbText(c.position, LookupBounds::DefaultEntry), c.text) << c.position;
    }
}

TEST_F(DisplayFormats, SignedDbOutsideTheTableUsesTheMiddleEntryForTheSetDisplay) {
    EXPECT_EQ(SignedDbText(0, LookupBounds::DefaultEntry), "+0dB");
    EXPECT_EQ(SignedDbText(22, LookupBounds::DefaultEntry), "-0dB");
}

TEST_F(DisplayFormats, DelayShowsTheTableEntryAfterTheValue) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, "12ms"}, {3, "49ms"}, {7, "98ms"}, {10, "135ms"}, {15, "196ms"}};
    for (const auto& c : cases) {
        EXPECT_EQ(DelayText(c.value, LookupBounds::RuntimeError), c.text) << c.value;
        EXPECT_EQ(DelayText(c.value, LookupBounds::DefaultEntry), c.text) << c.value;
    }
}

TEST_F(DisplayFormats, DelayOutsideTheTableUsesEntryEightForTheSetDisplay) {
    EXPECT_EQ(DelayText(16, LookupBounds::DefaultEntry), "98ms");
    EXPECT_EQ(DelayText(-1, LookupBounds::DefaultEntry), "98ms");
}

using DisplayFormatsDeathTest = DisplayFormats;

TEST_F(DisplayFormatsDeathTest, HandlerLookupsOutsideTheTablesAreRuntimeErrors) {
    const auto lookUp = [](auto lookup) {
        testing::TestHost host;
        FillLookupTables();
        lookup();
    };
    EXPECT_EXIT(lookUp([] { SignedDbText(0, LookupBounds::RuntimeError); }), testing::ExitedFatally(), "错误代码：4");
    EXPECT_EXIT(lookUp([] { SignedDbText(22, LookupBounds::RuntimeError); }), testing::ExitedFatally(), "错误代码：1");
    EXPECT_EXIT(lookUp([] { DelayText(-1, LookupBounds::RuntimeError); }), testing::ExitedFatally(), "错误代码：4");
    EXPECT_EXIT(lookUp([] { DelayText(16, LookupBounds::RuntimeError); }), testing::ExitedFatally(), "错误代码：1");
}

TEST(DisplayFormat, SecondsAreBuiltFromTheDigitsOfTheTenths) {
    const struct {
        double value;
        const char* text;
    } cases[] = {{0, "0S"},    {0.00000001, "0S"}, {1, "0.1S"},  {5, "0.5S"},  {9, "0.9S"},
                 {10, "1.0S"}, {25, "2.5S"},       {55, "5.5S"}, {60, "6.0S"}, {-0.00000001, "0S"}};
    for (const auto& c : cases)
        EXPECT_EQ(SecondsText(c.value), c.text) << c.value;
}

TEST(DisplayFormat, TheValueFormatsAppendTheirUnits) {
    EXPECT_EQ(MsTimesThreeText(127), "381ms");
    EXPECT_EQ(MsTimesThreeText(30), "90ms");
    EXPECT_EQ(MsTimesThreeText(0), "0ms");
    EXPECT_EQ(TensOfHzText(15), "150HZ");
    EXPECT_EQ(TensOfHzText(2), "20HZ");
    EXPECT_EQ(TensOfHzText(23), "230HZ");
    EXPECT_EQ(DbText(3), "3dB");
    EXPECT_EQ(DbText(0), "0dB");
    EXPECT_EQ(PlainText(127), "127");
    EXPECT_EQ(PlainText(1.5), "1.5") << "a stored field that is not a whole number is shown as it reads";
}

TEST(DisplayFormat, LevelTextsGoFromTwoVoltsAtTheTopToOffAtTheBottom) {
    const char* const texts[] = {"2V", "1.75V", "1.5V", "1.2V", "1V", "0.775V", "OFF"};
    for (int position = 0; position <= 6; ++position)
        EXPECT_EQ(LevelText(position), texts[position]) << position;
    EXPECT_EQ(LevelText(-1), std::nullopt);
    EXPECT_EQ(LevelText(7), std::nullopt);
}

TEST(DisplayFormat, FormatsWithoutTextGiveNone) {
    for (DisplayFormat format : {DisplayFormat::None, DisplayFormat::SelectionColour, DisplayFormat::Switch})
        EXPECT_EQ(FormatDisplay(format, 3, 3, LookupBounds::DefaultEntry), std::nullopt);
}

TEST_F(DisplayFormats, FormatDisplayPicksPositionOrValueAsEachFormatNeeds) {
    EXPECT_EQ(FormatDisplay(DisplayFormat::SignedDb, 1, 20, LookupBounds::RuntimeError), "+10dB");
    EXPECT_EQ(FormatDisplay(DisplayFormat::Level, 6, 0, LookupBounds::RuntimeError), "OFF");
    EXPECT_EQ(FormatDisplay(DisplayFormat::Level, 9, 0, LookupBounds::RuntimeError), std::nullopt);
    EXPECT_EQ(FormatDisplay(DisplayFormat::Delay, 1, 15, LookupBounds::RuntimeError), "196ms");
    EXPECT_EQ(FormatDisplay(DisplayFormat::Seconds, 35, 25, LookupBounds::RuntimeError), "2.5S");
    EXPECT_EQ(FormatDisplay(DisplayFormat::MsTimesThree, 0, 127, LookupBounds::RuntimeError), "381ms");
    EXPECT_EQ(FormatDisplay(DisplayFormat::TensOfHz, 2, 15, LookupBounds::RuntimeError), "150HZ");
    EXPECT_EQ(FormatDisplay(DisplayFormat::Db, 2, 1, LookupBounds::RuntimeError), "1dB");
    EXPECT_EQ(FormatDisplay(DisplayFormat::Plain, 45, 55, LookupBounds::RuntimeError), "55");
}

TEST(DisplayFormat, FieldTextsHaveThreeDigits) {
    const struct {
        int value;
        const char* text;
    } cases[] = {{0, "000"},  {5, "005"},   {9, "009"},   {10, "010"},
                 {99, "099"}, {100, "100"}, {127, "127"}, {255, "255"}};
    for (const auto& c : cases)
        EXPECT_EQ(ThreeDigitText(c.value), c.text) << c.value;
}

} // namespace
} // namespace ep
