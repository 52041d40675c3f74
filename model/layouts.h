#pragma once
/// What the window rewrites when it shows a music page or a KTV layout, besides the rows' own captions,
/// ranges and values: the scale captions of the shared music sliders, the places of the effect area's
/// columns in each KTV type, and the controls that only type B shows. Data only.

#include <array>
#include <string_view>

namespace ep {

struct ScaleCaption {
    std::string_view label;
    std::string_view caption;
};

/// A music page's scale captions, and whether the middle scale marks are shown.
struct MusicPageLook {
    bool middleMarksVisible = true;
    std::array<ScaleCaption, 10> scaleCaptions;
};

/// The middle scale marks of the four sliders that the 辅助 page gives another range.
inline constexpr std::array<std::string_view, 4> kMiddleScaleMarks = {"标签15", "标签17", "标签56", "标签59"};

inline constexpr MusicPageLook kEqualiserPageLook = {true,
                                                     {{{"标签14", "-10"},
                                                       {"标签13", "+10"},
                                                       {"标签18", "-10"},
                                                       {"标签16", "+10"},
                                                       {"标签57", "-10"},
                                                       {"标签55", "+10"},
                                                       {"标签60", "-10"},
                                                       {"标签58", "+10"},
                                                       {"标签63", "OFF"},
                                                       {"标签61", "2V"}}}};

inline constexpr MusicPageLook kAuxiliaryPageLook = {false,
                                                     {{{"标签14", "0"},
                                                       {"标签13", "80"},
                                                       {"标签18", "0"},
                                                       {"标签16", "80"},
                                                       {"标签57", "20HZ"},
                                                       {"标签55", "230HZ"},
                                                       {"标签60", "0"},
                                                       {"标签58", "80"},
                                                       {"标签63", "0"},
                                                       {"标签61", "80"}}}};

/// Where one column of the effect area sits in a KTV type, and its top scale caption (empty: left as it
/// is).
struct KtvPlacement {
    int captionLeft = 0;
    int scaleLeft = 0;
    int boxLeft = 0;
    int sliderLeft = 0;
    std::string_view topScaleCaption;
};

/// A column's two scale labels and its place in each type. Column i edits address 31 + i in type A and
/// 39 + i in type B, whose rows name its caption label, slider and value box.
struct KtvColumn {
    std::string_view topScale;
    std::string_view bottomScale;
    KtvPlacement typeB;
    KtvPlacement typeA;
};

inline constexpr int kKtvTypeAFirstAddress = 31;
inline constexpr int kKtvTypeBFirstAddress = 39;

// clang-format off
inline constexpr std::array<KtvColumn, 8> kKtvColumns = {{
    {"标签108", "标签107", {84,  137, 99,  99,  ""},   {140, 193, 155, 154, ""}},
    {"标签109", "标签110", {156, 208, 171, 170, ""},   {219, 271, 233, 232, ""}},
    {"标签111", "标签112", {225, 280, 242, 241, ""},   {300, 356, 318, 317, ""}},
    {"标签113", "标签114", {301, 351, 313, 312, ""},   {388, 439, 401, 400, ""}},
    {"标签115", "标签116", {364, 422, 384, 383, "6S"}, {470, 524, 486, 485, "100"}},
    {"标签117", "标签118", {441, 493, 455, 454, "6S"}, {552, 609, 571, 570, "127"}},
    {"标签119", "标签120", {506, 564, 526, 525, "6S"}, {634, 692, 654, 653, "100"}},
    {"标签121", "标签122", {585, 635, 597, 596, "40"}, {727, 777, 739, 738, "381"}},
}};
// clang-format on

/// The two Rev H Cut columns, which only type B has: shown in this order, hidden in the other.
inline constexpr std::array<std::string_view, 10> kTypeBOnlyShowOrder = {
    "标签123", "标签124", "标签125", "标签126", "标签97", "编辑框33", "滑块条23", "标签106", "编辑框32", "滑块条22"};
inline constexpr std::array<std::string_view, 10> kTypeBOnlyHideOrder = {
    "标签97", "标签123", "标签124", "编辑框33", "滑块条23", "标签106", "标签125", "标签126", "编辑框32", "滑块条22"};

} // namespace ep
