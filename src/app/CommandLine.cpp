#include "app/CommandLine.h"

#include "app/ConfigSaver.h"
#include "app/Startup.h"
#include "documents/DocumentFonts.h"
#include "export/Thumbnail.h"
#include "periphery/ProgramVersion.h"
#include "platform/FileSystem.h"
#include "platform/FontFaces.h"
#include "platform/IntegerText.h"
#include "platform/ScreenCells.h"
#include "platform/ScreenFonts.h"

#include <QApplication>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iostream>

namespace zandor {

namespace {

bool ReadWholeNumber(const std::string& text, int low, int high, int& value) {
    int32_t n = 0;
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])) ||
        !platform::TryStrToInt(text, n) || n < low || n > high)
        return false;
    value = n;
    return true;
}

TCommandLine Failed(std::string message) {
    TCommandLine result;
    result.Action = TCommandLineAction::Error;
    result.Error = std::move(message);
    return result;
}

std::string ExtensionOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return {};
    std::string ext = name.substr(dot);
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

// The look the main window gives a document of the input's type and content: the same defaults
// and stored fonts and colours, and the same highlighting. The settings are only read; nothing is created or
// moved.
TExportLook LookFromSettings(const std::string& input, TContentKind content) {
    TExportLook look;
    const std::string ext = ExtensionOf(input);
    try {
        const std::string exeFolder = platform::IncludeTrailingSlash(platform::ExecutableFolder());
        const bool portable = platform::FileExists(exeFolder + "usb.dat");
        const std::string dataFolder =
            portable ? exeFolder : platform::UserConfigFolder() + "Veltrane/Zandor/";
        TConfigSaver config(portable ? exeFolder + "Zandor.ini" : std::string(), dataFolder + "registry.reg");
        auto guarded = [](auto read) {
            try {
                read();
            } catch (const std::exception&) {
            }
        };
        // A face no stored font can have tells whether one is stored for the extension.
        bool stored = false;
        if (!ext.empty())
            guarded([&] {
                platform::FontValue probe;
                probe.Name = "\x01";
                config.ReadFont("Fonts", ext, platform::FontValue(probe), probe);
                stored = probe.Name != "\x01";
            });
        const TFontKey key = FontKeyFor(ext, content, stored);
        look.Font = DefaultDocumentFont(key.Key);
        platform::FontValue& font = look.Font;
        guarded([&] { config.ReadFont("Options", "Font5", platform::FontValue(font), font); });
        if (key.Section == "Fonts")
            guarded([&] { config.ReadFont("Fonts", key.Key, platform::FontValue(font), font); });
        guarded([&] { look.Background = config.ReadColor("Options", "BackColor", look.Background); });
        guarded([&] { look.HighlightColor = config.ReadColor("Options", "HLColor", look.HighlightColor); });
        guarded(
            [&] { look.HighlightBackgnd = config.ReadColor("Options", "HLBColor", look.HighlightBackgnd); });
        guarded([&] { look.Convert = config.ReadBool("Options", "Convert", true); });
        guarded([&] { look.Addresses = config.ReadBool("Options", "Launch", true); });
        guarded([&] { look.Cells.NineDots = config.ReadBool("Options", "NineDotCells", false); });
        guarded([&] { look.Cells.DosAspect = config.ReadBool("Options", "DosAspect", false); });
        guarded([&] {
            if (config.ReadBool("Options", "HighLight", true))
                look.KeywordFile = dataFolder + "highlight.dat";
        });
    } catch (const std::exception&) {
        // Unreadable settings: the program's defaults.
        look.Font = DefaultDocumentFont(FontKeyFor(ext, content, false).Key);
    }
    return look;
}

} // namespace

std::optional<platform::TColor> ParseColorArgument(const std::string& text) {
    if (text.size() == 7 && text[0] == '#') {
        int32_t rgb = 0;
        // Built by appending: GCC 12 warns falsely (-Wrestrict) on "literal" + a temporary string.
        std::string hex("$");
        hex.append(text, 1, std::string::npos);
        if (!platform::TryStrToInt(hex, rgb) || rgb < 0)
            return std::nullopt;
        // #rrggbb is red first; the program's colours keep blue in the high byte.
        return platform::TColor(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    }
    platform::TColor color = 0;
    if (platform::IdentToColor(text, color) || platform::IdentToColor("cl" + text, color))
        return color;
    return std::nullopt;
}

TCommandLine ParseCommandLine(const std::vector<std::string>& args) {
    TCommandLine result;
    if (args.empty())
        return result;
    // The short forms come first: "-h" is asked for help far more often than it names a file (which
    // still opens as "./-h").
    if (args[0] == "--help" || args[0] == "-h") {
        result.Action = TCommandLineAction::Help;
        return result;
    }
    if (args[0] == "--version" || args[0] == "-v") {
        result.Action = TCommandLineAction::Version;
        return result;
    }
    if (args[0].rfind("--", 0) != 0)
        return result;
    // The options may stand before or after --export and the two names; an option's value that
    // reads "--export" is no --export.
    bool exported = false;
    result.Action = TCommandLineAction::Export;
    std::vector<std::string> files;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--export") {
            exported = true;
            continue;
        }
        if (arg.rfind("--", 0) != 0 || arg == "--") {
            files.push_back(arg);
            continue;
        }
        if (i + 1 >= args.size())
            return Failed("The option " + arg + " needs a value (see zandor --help).");
        const std::string& value = args[++i];
        if (arg == "--font") {
            // A face, optionally with its size in points: "ZandorTiny" or "ZandorLarge,12".
            const size_t comma = value.find(',');
            result.FontName = value.substr(0, comma);
            int size = 0;
            if (result.FontName->empty())
                return Failed("The option --font needs a font name.");
            if (comma != std::string::npos) {
                if (!ReadWholeNumber(value.substr(comma + 1), 1, 500, size))
                    return Failed("The font size in \"" + value + "\" is not a number from 1 to 500.");
                result.FontSize = size;
            }
        } else if (arg == "--encoding") {
            std::string name = value;
            for (char& c : name)
                c = char(std::tolower(static_cast<unsigned char>(c)));
            const std::optional<TFileEncoding> encoding = EncodingNamed(name);
            if (!encoding)
                return Failed(
                    "The encoding \"" + value +
                    "\" is not one of utf-8, utf-16le, utf-16be, utf-32le, utf-32be, cp437 and ansi.");
            result.Job.Encoding = encoding;
            // An 8-bit file named by its code page opens in a font that shows it.
            if (name == "cp437")
                result.Job.Content = TContentKind::Art;
            else if (!encoding->Unicode())
                result.Job.Content = TContentKind::Plain;
        } else if (arg == "--scale") {
            if (!ReadWholeNumber(value, 1, kMaxExportScale, result.Job.Scale))
                return Failed("The scale \"" + value + "\" is not a whole number from 1 to " +
                              std::to_string(kMaxExportScale) + ".");
        } else if (arg == "--thumbnail") {
            // A file manager's thumbnailer: "--thumbnail SIZE IN OUT" exports without --export.
            if (!ReadWholeNumber(value, 1, kMaxThumbnailSize, result.Job.Thumbnail))
                return Failed("The thumbnail size \"" + value + "\" is not a whole number from 1 to " +
                              std::to_string(kMaxThumbnailSize) + ".");
            exported = true;
        } else if (arg == "--cells") {
            if (value != "8" && value != "9")
                return Failed("The cells \"" + value + "\" are not 8 or 9 pixels wide.");
            result.Job.NineDots = value == "9";
        } else if (arg == "--aspect") {
            if (value != "dos" && value != "square")
                return Failed("The aspect \"" + value + "\" is neither dos nor square.");
            result.Job.DosAspect = value == "dos";
        } else if (arg == "--columns") {
            if (!ReadWholeNumber(value, 1, 100000, result.Job.Columns))
                return Failed("The columns \"" + value + "\" are not a number from 1 to 100000.");
        } else if (arg == "--colors" || arg == "--colours") {
            const size_t comma = value.find(',');
            const auto fg = ParseColorArgument(value.substr(0, comma));
            const auto bg = comma == std::string::npos ? std::optional<platform::TColor>()
                                                       : ParseColorArgument(value.substr(comma + 1));
            if (!fg || !bg)
                return Failed("The colours \"" + value +
                              "\" are not two colours FG,BG such as #ffffff,#000033.");
            result.Foreground = fg;
            result.Background = bg;
        } else {
            return Failed("Unknown option \"" + arg + "\" (see zandor --help).");
        }
    }
    if (!exported)
        return Failed("Unknown option \"" + args[0] + "\" (see zandor --help).");
    if (files.size() != 2)
        return Failed("Usage: zandor --export IN OUT [options] (see zandor --help).");
    result.Job.Input = files[0];
    result.Job.Output = files[1];
    if (ExportKindOf(result.Job.Output) == TExportKind::None)
        return Failed("Unknown output type \"" + result.Job.Output + "\": use .png, .gif, .txt or .html.");
    if (result.Job.Thumbnail > 0 && ExportKindOf(result.Job.Output) != TExportKind::Png)
        return Failed("A thumbnail is written as a .png picture, not as \"" + result.Job.Output + "\".");
    return result;
}

std::string CommandLineHelp() {
    return "Usage: zandor [FILE]\n"
           "       zandor --export IN OUT [--font NAME[,SIZE]] [--encoding NAME] [--scale N] [--columns N]\n"
           "                              [--colors FG,BG] [--cells 8|9] [--aspect dos|square]\n"
           "       zandor --thumbnail SIZE IN OUT.png [options]\n"
           "\n"
           "Without options Zandor opens FILE in its window.\n"
           "\n"
           "  --export IN OUT   write IN as OUT without a window; OUT's extension says how:\n"
           "                      .png, .gif   a picture of the whole text as the window paints it,\n"
           "                                   in the font and colours the window uses for IN's type\n"
           "                      .txt         the text as UTF-8 (code page 437 art keeps its box and\n"
           "                                   block characters)\n"
           "                      .html        a web page with the text in its colours\n"
           "  --thumbnail SIZE IN OUT.png  a file manager's thumbnail: the first screen of IN (25\n"
           "                    lines) as a picture at most SIZE pixels on its long side (1 to\n"
           "                    4096), made smaller or larger by a whole factor so the cells stay\n"
           "                    sharp\n"
           "  --font NAME[,SIZE] the font (for example ZandorLarge,12 or ZandorTiny)\n"
           "  --encoding NAME   read IN as utf-8, utf-16le, utf-16be, utf-32le, utf-32be, cp437 or ansi\n"
           "                    (without it, as its bytes show)\n"
           "  --scale N         pictures: every pixel N x N (1 to 8)\n"
           "  --columns N       pictures: wrap words at N characters\n"
           "  --cells 8|9       pictures: the screen fonts in cells 8 or 9 pixels wide; in 9-pixel\n"
           "                    cells the ninth column repeats the eighth for the line-drawing\n"
           "                    characters (bytes C0-DF) and is blank for the others\n"
           "  --aspect dos|square pictures: dos stretches the picture 1.35 times in height, as the\n"
           "                    VGA's 720x400 text mode filled a 4:3 screen; every row of the\n"
           "                    picture is a whole copy of the nearest row of the unstretched one,\n"
           "                    never a blend: at scale 1 about every third row is repeated, at\n"
           "                    scale 2 each row two or three times\n"
           "                    (without --cells and --aspect: IN's SAUCE record, else the Art menu;\n"
           "                    their DOS aspect, as in the window, only at scale 2 and above)\n"
           "  --colors FG,BG    text and background colours (#rrggbb or a name such as white)\n"
           "  -h, --help        show this text\n"
           "  -v, --version     show the version\n";
}

std::optional<int> RunCommandLine(int argc, char** argv) {
    std::vector<std::string> args(argv + std::min(argc, 1), argv + argc);
    TCommandLine line = ParseCommandLine(args);
    switch (line.Action) {
    case TCommandLineAction::OpenWindow:
        return std::nullopt;
    case TCommandLineAction::Help:
        std::cout << CommandLineHelp();
        return 0;
    case TCommandLineAction::Version:
        std::cout << "Zandor " << ProgramVersion() << "\n";
        return 0;
    case TCommandLineAction::Error:
        std::cerr << "zandor: " << line.Error << "\n";
        return 2;
    case TCommandLineAction::Export:
        break;
    }
    // An export paints with the editor's own painter but needs no display.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // The export speaks in one line of its own; Qt's notes about the environment stay out of it.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::cerr << message.toStdString() << "\n";
    });
    QApplication app(argc, argv);
    platform::RegisterScreenFonts(platform::DefaultScreenFontsFolder());
    platform::InstallFontSubstitutions();
    // A face nobody has would be drawn in some other font without a word: a mistyped name is a bad
    // argument like any other. A name typed in other letters ("zandorlarge") is the face itself.
    if (line.FontName) {
        const std::string face = platform::InstalledFontFace(*line.FontName);
        if (platform::IsScreenFontForm(face)) {
            std::cerr << "zandor: \"" << face
                      << "\" is a form of a screen font: use ZandorLarge or ZandorTiny "
                      << "with --cells and --aspect.\n";
            return 2;
        }
        if (face.empty()) {
            std::cerr << "zandor: The font \"" << *line.FontName
                      << "\" is not installed (try ZandorLarge or ZandorTiny).\n";
            return 2;
        }
        line.FontName = face;
    }
    TExportJob& job = line.Job;
    job.Look = LookFromSettings(job.Input, TContentKind::Plain);
    // The font follows what the input holds, as in the window; the options change it after.
    job.Look.FontFor = [&line](TContentKind content) {
        platform::FontValue font = LookFromSettings(line.Job.Input, content).Font;
        if (line.FontName) {
            font.Name = *line.FontName;
            font.Height = 0;
            font.Charset = platform::ANSI_CHARSET;
        }
        if (line.FontSize) {
            font.Size = *line.FontSize;
            font.Height = 0;
        }
        font = platform::WithFaceCharset(font);
        if (line.Foreground)
            font.Color = *line.Foreground;
        return font;
    };
    job.Look.Font = job.Look.FontFor(TContentKind::Plain);
    if (line.Background)
        job.Look.Background = *line.Background;
    try {
        RunExport(job);
    } catch (const std::exception& e) {
        std::cerr << "zandor: " << e.what() << "\n";
        return 1;
    }
    return 0;
}

} // namespace zandor
