#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    // Before the application exists: the tests need no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
