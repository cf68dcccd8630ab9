// zandor_fontgen CONSOLE-FONTS-FOLDER OUTPUT-FOLDER
// Builds every size of the screen fonts from the VGA console fonts, writes them as BDF files, reads
// the files back and checks them; run by the build, which fails when a check does.
#include "BdfReader.h"
#include "BdfWriter.h"
#include "ConsoleFont.h"
#include "ScreenFontBuilder.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

using namespace zandor::fontgen;

std::string FileName(const ScreenFont& font) {
    return font.family + "-" + std::to_string(font.width) + "x" + std::to_string(font.height) + ".bdf";
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open())
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s CONSOLE-FONTS-FOLDER OUTPUT-FOLDER\n", argv[0]);
        return 2;
    }
    const std::string in = std::string(argv[1]) + "/", out = std::string(argv[2]) + "/";
    std::vector<std::string> partial;
    try {
        VgaSources sources;
        sources.rom8x16 = ParsePsf(ReadMaybeGzipped(in + kRom8x16File));
        sources.rom8x9 = ParsePsf(ReadMaybeGzipped(in + kRom8x9File));
        sources.alt8x14 = ParsePsf(ReadMaybeGzipped(in + kAlt8x14File));
        // Written under temporary names and checked as read back; only fonts that pass take their
        // names, so a failed or interrupted build never leaves a wrong or half font behind.
        std::vector<ScreenFont> readBack;
        const std::vector<ScreenFont> fonts = BuildScreenFonts(sources);
        for (const ScreenFont& font : fonts) {
            partial.push_back(out + FileName(font) + ".part");
            WriteFile(partial.back(), FormatBdf(font));
            readBack.push_back(ParseBdf(ReadFile(partial.back())));
        }
        CheckScreenFonts(readBack, InCp437Order(sources.rom8x16));
        std::vector<ScreenFont> enlargedBack;
        for (const ScreenFont& font : EnlargedScreenFonts(fonts)) {
            partial.push_back(out + FileName(font) + ".part");
            WriteFile(partial.back(), FormatBdf(font));
            enlargedBack.push_back(ParseBdf(ReadFile(partial.back())));
        }
        CheckEnlargedFonts(readBack, enlargedBack);
        for (const std::string& part : partial) {
            const std::string named = part.substr(0, part.size() - 5);
            if (std::rename(part.c_str(), named.c_str()) != 0)
                throw std::runtime_error("cannot rename " + part + " to " + named);
        }
    } catch (const std::exception& e) {
        for (const std::string& part : partial)
            std::remove(part.c_str());
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
