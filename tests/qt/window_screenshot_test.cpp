#include "view_fixture.h"

#include <QDir>
#include <QImage>

#include <cstdio>

namespace ep::qt {
namespace {

using WindowScreenshotTest = ViewTest;

// Renders the whole window as it starts, for a person to look at: every caption readable, Chinese text
// drawn, nothing overlapping that the layout does not overlap.
TEST_F(WindowScreenshotTest, RendersTheWholeWindowToAPicture) {
    const QImage shot = view->grab().toImage();
    ASSERT_EQ(shot.size(), QSize(804, 552));
    const QString path = QDir(QStringLiteral(EP_SCREENSHOT_FOLDER)).filePath(QStringLiteral("window.png"));
    ASSERT_TRUE(shot.save(path, "PNG"));
    std::printf("window picture: %s\n", qPrintable(path));
}

} // namespace
} // namespace ep::qt
