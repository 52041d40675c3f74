#include "qt/font_mapping.h"

#include <QFontInfo>
#include <QRawFont>

#include <gtest/gtest.h>

namespace ep::qt {
namespace {

struct FaceCase {
    const char* face;
    const char* family;
    const char32_t* sample;
};

class FontMappingTest : public ::testing::TestWithParam<FaceCase> {};

TEST_P(FontMappingTest, EachFaceOfTheDefinitionMapsToAnInstalledFontThatHasItsCharacters) {
    const FaceCase& item = GetParam();
    EXPECT_EQ(FamilyForFace(item.face), QString::fromLatin1(item.family));
    const QFont font = FontFor(Font{item.face, 13, 700});
    EXPECT_EQ(QFontInfo(font).family(), QString::fromLatin1(item.family));
    const QRawFont raw = QRawFont::fromFont(font);
    for (const char32_t* character = item.sample; *character != 0; ++character)
        EXPECT_TRUE(raw.supportsCharacter(static_cast<uint>(*character))) << item.face;
}

INSTANTIATE_TEST_SUITE_P(Faces, FontMappingTest,
                         ::testing::Values(FaceCase{"黑体", "WenQuanYi Micro Hei", U"均衡辅助"},
                                           FaceCase{"宋体", "AR PL UMing CN", U"已连接未联机"},
                                           FaceCase{"新宋体", "AR PL UMing CN", U"MUSIC MODE"},
                                           FaceCase{"Microsoft Sans Serif", "Liberation Sans", U"#5b1AUTO"}));

TEST(FontMapping, HeightAndWeightComeFromTheDefinition) {
    const QFont bold = FontFor(Font{"黑体", 14, 700});
    EXPECT_EQ(bold.pixelSize(), 14);
    EXPECT_EQ(bold.weight(), QFont::Bold);
    const QFont regular = FontFor(Font{"宋体", 12, 400});
    EXPECT_EQ(regular.weight(), QFont::Normal);
    EXPECT_EQ(FontFor(Font{"宋体", 12, 0}).weight(), QFont::Normal);
}

TEST(FontMapping, NoFontMeansTheDefaultGuiFont) {
    const QFont font = FontFor(std::nullopt);
    EXPECT_EQ(font, DefaultGuiFont());
    EXPECT_GE(font.pixelSize(), 11);
    EXPECT_LE(font.pixelSize(), 12);
    EXPECT_EQ(QFontInfo(font).family(), QStringLiteral("Liberation Sans Narrow"));
}

TEST(FontMapping, AnUnknownFaceIsKept) { EXPECT_EQ(FamilyForFace("Courier"), QStringLiteral("Courier")); }

} // namespace
} // namespace ep::qt
