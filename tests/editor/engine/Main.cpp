// Runs the engine tests. A QCoreApplication stands ready for the platform value types the engine
// uses; nothing here needs a GUI.
#include <QCoreApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
