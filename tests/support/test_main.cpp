#include <QApplication>
#include <gtest/gtest.h>

// Every test binary gets a QApplication so that widget tests and Qt's
// event loop work; the platform plugin comes from QT_QPA_PLATFORM.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
