// The widget tests need one QApplication, on the offscreen platform so that they run without a display;
// it must be chosen before the application object exists (test discovery runs this binary too).

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    // A plain look unlike the themed one, so that the tests can tell them apart.
    QApplication::setStyle(QStringLiteral("Windows"));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
