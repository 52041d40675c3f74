#include "model/colours.h"
#include "qt/jpeg_image.h"
#include "qt/label_view.h"
#include "qt/trans_label_view.h"
#include "runtime/resources.h"
#include "view_fixture.h"

#include <QTest>

namespace ep::qt {
namespace {

using LabelViewTest = ViewTest;

TEST_F(LabelViewTest, ATransparentLabelRaisesOnThePressNotOnTheRelease) {
    auto* label = widget<TransLabelView>("均衡");
    QTest::mousePress(label, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 6));
    auto events = raisedBy("均衡");
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].event, event::LeftButtonPressed);
    EXPECT_EQ(events[0].arguments, (std::vector<std::int32_t>{5, 6, 2}));
    QTest::mouseRelease(label, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 6));
    EXPECT_EQ(raisedBy("均衡").size(), 1u);
}

TEST_F(LabelViewTest, ATransparentLabelShowsTheArrowPointer) {
    EXPECT_EQ(widget<TransLabelView>("key_井5")->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(LabelViewTest, ATransparentLabelPaintsOnlyItsCaption) {
    const QImage picture = DecodeJpeg(*ProgramResource("background.jpg"));
    auto* label = widget<TransLabelView>("AUTO");
    const QImage shown = view->grab().toImage();
    // The caption starts at the left: the right end of the label shows the picture beneath.
    const QPoint point = label->geometry().topRight() + QPoint(-1, 1);
    EXPECT_EQ(shown.pixelColor(point).rgb(), picture.pixelColor(point).rgb());
}

TEST_F(LabelViewTest, BackgroundColoursFillTheLabel) {
    struct Case {
        const char* name;
        QRgb colour;
    };
    const Case cases[] = {{"标签1", qRgb(0xDF, 0xF4, 0xFD)}, {"标签127", qRgb(0xFF, 0, 0)}};
    for (const Case& item : cases) {
        const QImage shown = widget<LabelView>(item.name)->grab().toImage();
        EXPECT_EQ(shown.pixelColor(shown.width() - 1, 0).rgb(), item.colour) << item.name;
    }
}

TEST_F(LabelViewTest, ADefaultBackgroundShowsThePictureBeneath) {
    const QImage picture = DecodeJpeg(*ProgramResource("background.jpg"));
    auto* label = widget<LabelView>("标签9");
    const QImage shown = view->grab().toImage();
    const QPoint point = label->geometry().topRight() + QPoint(-1, 0);
    EXPECT_EQ(shown.pixelColor(point).rgb(), picture.pixelColor(point).rgb());
}

TEST_F(LabelViewTest, CaptionAndColourWritesRepaintAtOnce) {
    auto* label = widget<LabelView>("标签127");
    const QImage before = label->grab().toImage();
    control("标签127").write(prop::label::Caption, Text("已联机"));
    const QImage renamed = label->grab().toImage();
    EXPECT_NE(renamed, before);
    control("标签127").write(prop::label::BackgroundColour, kGreen);
    const QImage recoloured = label->grab().toImage();
    EXPECT_EQ(recoloured.pixelColor(recoloured.width() - 1, 0).rgb(), qRgb(0, 0xFF, 0));
}

TEST_F(LabelViewTest, AChangedTextColourIsPainted) {
    auto* label = widget<TransLabelView>("FBX");
    control("FBX").write(prop::translabel::TextColour, kRed);
    const QImage shown = label->grab().toImage();
    bool red = false;
    for (int y = 0; y < shown.height() && !red; ++y)
        for (int x = 0; x < shown.width() && !red; ++x) {
            const QColor colour = shown.pixelColor(x, y);
            red = colour.red() > 200 && colour.green() < 60 && colour.blue() < 60;
        }
    EXPECT_TRUE(red);
}

} // namespace
} // namespace ep::qt
