// zandor_fontgen FAMILY CONSOLE-FONT OUTPUT.bdf
// Builds one size of a screen font from a console font; run by the build for every size we ship.
#include "BdfWriter.h"
#include "ConsoleFont.h"
#include "ScreenFontBuilder.h"

#include <cstdio>
#include <exception>
#include <fstream>

int main(int argc, char** argv) {
    using namespace zandor::fontgen;
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FAMILY CONSOLE-FONT OUTPUT.bdf\n", argv[0]);
        return 2;
    }
    const std::string output = argv[3];
    try {
        const ScreenFont font = BuildScreenFont(ParsePsf(ReadMaybeGzipped(argv[2])), argv[1]);
        const std::string text = FormatBdf(font);
        // Written under a temporary name first, so an interrupted build never leaves half a font.
        const std::string partial = output + ".part";
        {
            std::ofstream file(partial, std::ios::binary | std::ios::trunc);
            file << text;
            file.close();
            if (!file)
                throw std::runtime_error("cannot write " + partial);
        }
        if (std::rename(partial.c_str(), output.c_str()) != 0)
            throw std::runtime_error("cannot rename " + partial + " to " + output);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s: %s\n", argv[0], argv[2], e.what());
        return 1;
    }
    return 0;
}
