// Runs the replay of the fuzzers' saved inputs. The targets of the program's features need an
// application object; it lives on main's stack as in every other test executable, so that it goes
// with everything it opened before the process ends.
#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
