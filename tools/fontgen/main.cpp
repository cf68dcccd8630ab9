// zandor_fontgen CONSOLE-FONTS-FOLDER OUTPUT-FOLDER FILE...
// Builds every size and form of the screen fonts from libansilove's code page 437 sets and the IBM
// 8x14 console font, writes them as BDF files, reads the files back and checks them; run by the
// build, which fails when a check does. FILE... are the names the build expects, exactly the files
// written.
#include "AnsiloveGlyphs.h"
#include "BdfReader.h"
#include "BdfWriter.h"
#include "CellForms.h"
#include "ConsoleFont.h"
#include "ScreenFontBuilder.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <set>
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

// Writes fonts under temporary names and reads them back, so that every check looks at what the
// files hold.
class Output {
public:
    explicit Output(std::string folder) : folder_(std::move(folder)) {}

    std::vector<ScreenFont> Write(const std::vector<ScreenFont>& fonts) {
        std::vector<ScreenFont> readBack;
        for (const ScreenFont& font : fonts) {
            const std::string name = FileName(font);
            if (!names_.insert(name).second)
                throw std::runtime_error(name + " is written twice");
            partial_.push_back(folder_ + name + ".part");
            WriteFile(partial_.back(), FormatBdf(font));
            readBack.push_back(ParseBdf(ReadFile(partial_.back())));
            all_.push_back(readBack.back());
        }
        return readBack;
    }

    const std::vector<ScreenFont>& All() const { return all_; }
    const std::set<std::string>& Names() const { return names_; }

    // Only fonts that passed take their names, so a failed or interrupted build never leaves a
    // wrong or half font behind.
    void Commit() {
        for (const std::string& part : partial_) {
            const std::string named = part.substr(0, part.size() - 5);
            if (std::rename(part.c_str(), named.c_str()) != 0)
                throw std::runtime_error("cannot rename " + part + " to " + named);
        }
        partial_.clear();
    }

    ~Output() {
        for (const std::string& part : partial_)
            std::remove(part.c_str());
    }

private:
    std::string folder_;
    std::vector<std::string> partial_;
    std::set<std::string> names_;
    std::vector<ScreenFont> all_;
};

std::vector<ScreenFont> Concatenated(std::vector<ScreenFont> a, const std::vector<ScreenFont>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

std::vector<ScreenFont> OfWidth(const std::vector<ScreenFont>& fonts, int width) {
    std::vector<ScreenFont> out;
    for (const ScreenFont& font : fonts)
        if (font.width == width)
            out.push_back(font);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s CONSOLE-FONTS-FOLDER OUTPUT-FOLDER FILE...\n", argv[0]);
        return 2;
    }
    const std::string in = std::string(argv[1]) + "/";
    const std::set<std::string> expected(argv + 3, argv + argc);
    try {
        VgaSources sources;
        sources.vga8x16 = AnsiloveGlyphs(AnsiloveSet::Cell8x16);
        sources.vga8x8 = AnsiloveGlyphs(AnsiloveSet::Cell8x8);
        CheckKnownAnsiloveRows(AnsiloveSet::Cell8x16, sources.vga8x16);
        CheckKnownAnsiloveRows(AnsiloveSet::Cell8x8, sources.vga8x8);
        sources.alt8x14 = ParsePsf(ReadMaybeGzipped(in + kAlt8x14File));

        Output output(std::string(argv[2]) + "/");
        const std::vector<ScreenFont> fonts = BuildScreenFonts(sources);
        const std::vector<ScreenFont> fontsBack = output.Write(fonts);
        CheckScreenFonts(fontsBack, sources);
        const std::vector<ScreenFont> enlarged = EnlargedScreenFonts(fonts);
        const std::vector<ScreenFont> enlargedBack = output.Write(enlarged);
        CheckEnlargedFonts(fontsBack, enlargedBack);

        const std::vector<ScreenFont> eightDot = Concatenated(fonts, enlarged);
        const std::vector<ScreenFont> nineDot = NineDotFonts(eightDot);
        const std::vector<ScreenFont> nineDotBack = output.Write(nineDot);
        CheckNineDotFonts(Concatenated(fontsBack, enlargedBack), nineDotBack);

        const std::vector<ScreenFont> bases = Concatenated(OfWidth(fonts, 8), OfWidth(nineDot, 9));
        const std::vector<ScreenFont> basesBack =
            Concatenated(OfWidth(fontsBack, 8), OfWidth(nineDotBack, 9));
        CheckDosAspectFonts(basesBack, output.Write(DosAspectFonts(bases)));

        CheckFamilies(output.All());
        for (const std::string& name : output.Names())
            if (!expected.count(name))
                throw std::runtime_error(name + " is written but not among the files the build expects");
        for (const std::string& name : expected)
            if (!output.Names().count(name))
                throw std::runtime_error(name + " is expected by the build but not written");
        output.Commit();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
        return 1;
    }
    return 0;
}
