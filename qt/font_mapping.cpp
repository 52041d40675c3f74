#include "qt/font_mapping.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace ep::qt {
namespace {

struct FaceFamily {
    std::string_view face;
    const char* family;
};

constexpr std::array kFaceFamilies{
    FaceFamily{"黑体", "WenQuanYi Micro Hei"},      FaceFamily{"宋体", "AR PL UMing CN"},
    FaceFamily{"新宋体", "AR PL UMing CN"},         FaceFamily{"Microsoft Sans Serif", "Liberation Sans"},
    FaceFamily{"MS Sans Serif", "Liberation Sans"},
};

// The platform's default GUI font is an 8-point sans, 11 pixels high at 96 dpi, and narrower than Arial:
// the captions of the definition ("MODE" in 28 pixels) are measured for it.
constexpr const char* kDefaultGuiFamily = "Liberation Sans Narrow";
constexpr int kDefaultGuiPixelSize = 11;

} // namespace

QString FamilyForFace(const Text& face) {
    const auto found = std::find_if(kFaceFamilies.begin(), kFaceFamilies.end(),
                                    [&face](const FaceFamily& entry) { return entry.face == face; });
    return found != kFaceFamilies.end() ? QString::fromLatin1(found->family) : QString::fromStdString(face);
}

QFont FontFor(const std::optional<Font>& font) {
    if (!font || font->face.empty())
        return DefaultGuiFont();
    QFont result(FamilyForFace(font->face));
    if (font->height > 0)
        result.setPixelSize(font->height);
    else
        result.setPixelSize(kDefaultGuiPixelSize);
    // Weight 0 means "any weight" on the original platform: the regular one.
    const int weight = font->weight <= 0 ? 400 : std::clamp(font->weight, 100, 900);
    result.setWeight(static_cast<QFont::Weight>(weight));
    return result;
}

QFont DefaultGuiFont() {
    QFont font(QString::fromLatin1(kDefaultGuiFamily));
    font.setPixelSize(kDefaultGuiPixelSize);
    return font;
}

} // namespace ep::qt
