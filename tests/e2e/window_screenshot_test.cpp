#include "panel_fixture.h"
#include "qt/main_window_view.h"

#include <QDir>
#include <QImage>

#include <cstdio>

namespace ep {
namespace {

class WindowScreenshot : public testing::PanelFixture {};

// The window as it starts with the design-time set and no device, for a person to look at: every caption
// readable, Chinese text drawn, nothing overlapping that the layout does not overlap.
TEST_F(WindowScreenshot, RendersTheStartedWindowToAPicture) {
    testing::MapTestPorts({});
    startPanel();
    qt::MainWindowView view(*window);
    view.show();
    QCoreApplication::processEvents();
    const QImage shot = view.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(804, 552));
    EXPECT_EQ(ControlNamed("编辑框14").readText(prop::editbox::Content), "0dB");
    const QString path = QDir(QStringLiteral(EP_SCREENSHOT_FOLDER)).filePath(QStringLiteral("window.png"));
    ASSERT_TRUE(shot.save(path, "PNG"));
    std::printf("window picture: %s\n", qPrintable(path));
}

} // namespace
} // namespace ep
