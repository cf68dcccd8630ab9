// Compiled into every test executable: gives each test process the folders of the build and the
// source tree, and the headless Qt platform, before main() runs. Values already in the environment
// win, so a caller can point a test elsewhere.
#include <cstdlib>

namespace {

struct TestEnvironment {
    TestEnvironment() {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        setenv("ZANDOR_BINARY_DIR", ZANDOR_BINARY_DIR_BUILT, 0);
        setenv("ZANDOR_SOURCE_DIR", ZANDOR_SOURCE_DIR_BUILT, 0);
    }
};

const TestEnvironment environment;

} // namespace
