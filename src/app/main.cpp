#include "app/Startup.h"

int main(int argc, char** argv) {
    return zandor::RunZandor(argc, argv);
}
