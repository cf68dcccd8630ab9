// The command line: any argument list, made of the options, their values, file names and stray
// bytes, is read without fault, and as a plain model of the documented grammar reads it: an
// export names exactly its two files and takes only values in their ranges, and everything else
// ends with one line on standard error and a non-zero status.
#include "AppFuzzSupport.h"
#include "FuzzCheck.h"
#include "FuzzInput.h"
#include "FuzzTargets.h"

#include "app/CommandLine.h"
#include "export/Thumbnail.h"

#include <algorithm>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace zandor::fuzz {

namespace {

const char* const kWords[] = {"--export",
                              "--font",
                              "--scale",
                              "--columns",
                              "--colors",
                              "--colours",
                              "--encoding",
                              "--cells",
                              "--aspect",
                              "--thumbnail",
                              "256",
                              "4097",
                              "9",
                              "dos",
                              "utf-8",
                              "UTF-16BE",
                              "cp437",
                              "koi8-r",
                              "--help",
                              "-h",
                              "--version",
                              "-v",
                              "--",
                              "--bogus",
                              "in.nfo",
                              "out.png",
                              "OUT.GIF",
                              "x.txt",
                              "y.html",
                              "z.htm",
                              ".png",
                              "a.b/c",
                              "noext",
                              "ZandorLarge,12",
                              "ZandorTiny",
                              ",9",
                              "A,0",
                              "A,501",
                              "A,1x",
                              "0",
                              "1",
                              "8",
                              "9",
                              "007",
                              "100000",
                              "100001",
                              "-1",
                              "+1",
                              "0x5",
                              "$5",
                              "",
                              " 5",
                              "99999999999",
                              "#ffffff,#000033",
                              "white,navy",
                              "clSilver,black",
                              "#fff,#000",
                              "#gggggg,#000000",
                              "white",
                              "white,",
                              ",black",
                              "#-12345,#+12345",
                              "#$12345,#000000",
                              "white,black,red"};

// "#rrggbb", or a name the program knows; the model knows these few names itself.
std::optional<uint32_t> ModelColor(const std::string& text) {
    if (!text.empty() && text[0] == '#') {
        if (text.size() != 7)
            return std::nullopt;
        uint32_t rgb = 0;
        for (size_t i = 1; i < 7; ++i) {
            const char c = text[i];
            const int d = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
            if (d < 0)
                return std::nullopt;
            rgb = rgb << 4 | uint32_t(d);
        }
        return (rgb & 0xFF) << 16 | (rgb & 0xFF00) | rgb >> 16;
    }
    if (text == "white")
        return 0xFFFFFF;
    if (text == "black")
        return 0;
    if (text == "navy")
        return 0x800000;
    if (text == "clSilver")
        return 0xC0C0C0;
    return std::nullopt; // unknown to the model: the program may know it
}

bool ModelWhole(const std::string& text, long low, long high, long& value) {
    if (text.empty())
        return false;
    long n = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
        n = std::min(n * 10 + (c - '0'), 1L << 40); // beyond every range either way
    }
    if (n < low || n > high)
        return false;
    value = n;
    return true;
}

bool KnownKind(const std::string& path) {
    std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0)
        return false;
    std::string ext = name.substr(dot);
    for (char& c : ext)
        c = char(std::tolower(uint8_t(c)));
    return ext == ".png" || ext == ".gif" || ext == ".txt" || ext == ".html" || ext == ".htm";
}

struct ModelLine {
    TCommandLineAction Action = TCommandLineAction::OpenWindow;
    bool Certain = true; // false where the model cannot judge a value (a colour name it lacks)
    std::string Input, Output;
    long Scale = 1, Columns = 0, Thumbnail = 0;
    std::optional<uint32_t> Foreground, Background;
    bool Font = false;
};

ModelLine Model(const std::vector<std::string>& args) {
    ModelLine m;
    const auto error = [&] {
        m.Action = TCommandLineAction::Error;
        return m;
    };
    if (args.empty() || args[0].rfind("--", 0) != 0)
        return m;
    if (args[0] == "--help") {
        m.Action = TCommandLineAction::Help;
        return m;
    }
    if (args[0] == "--version") {
        m.Action = TCommandLineAction::Version;
        return m;
    }
    bool exported = false;
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
        if (arg != "--font" && arg != "--scale" && arg != "--columns" && arg != "--colors" &&
            arg != "--colours" && arg != "--encoding" && arg != "--cells" && arg != "--aspect" &&
            arg != "--thumbnail")
            return error();
        if (i + 1 >= args.size())
            return error();
        const std::string& value = args[++i];
        if (arg == "--font") {
            const size_t comma = value.find(',');
            long size = 0;
            if (comma == 0 || value.empty() ||
                (comma != std::string::npos && !ModelWhole(value.substr(comma + 1), 1, 500, size)))
                return error();
            m.Font = true;
        } else if (arg == "--encoding") {
            std::string name;
            for (const char c : value)
                name += c >= 'A' && c <= 'Z' ? char(c + 32) : c;
            static const char* const kNames[] = {"utf-8",    "utf8", "utf-16le", "utf-16be", "utf-32le",
                                                 "utf-32be", "8bit", "cp437",    "ansi",     "cp1252"};
            if (std::find(std::begin(kNames), std::end(kNames), name) == std::end(kNames))
                return error();
        } else if (arg == "--cells") {
            if (value != "8" && value != "9")
                return error();
        } else if (arg == "--aspect") {
            if (value != "dos" && value != "square")
                return error();
        } else if (arg == "--thumbnail") {
            // A thumbnail is an export of its own, with or without --export.
            if (!ModelWhole(value, 1, 4096, m.Thumbnail))
                return error();
            exported = true;
        } else if (arg == "--scale") {
            if (!ModelWhole(value, 1, 8, m.Scale))
                return error();
        } else if (arg == "--columns") {
            if (!ModelWhole(value, 1, 100000, m.Columns))
                return error();
        } else {
            const size_t comma = value.find(',');
            if (comma == std::string::npos)
                return error();
            const std::string fg = value.substr(0, comma), bg = value.substr(comma + 1);
            m.Foreground = ModelColor(fg);
            m.Background = ModelColor(bg);
            const auto named = [](const std::string& c) { return !c.empty() && c[0] != '#'; };
            if ((!m.Foreground && !named(fg)) || (!m.Background && !named(bg)))
                return error();
            m.Certain = m.Certain && m.Foreground && m.Background;
        }
    }
    if (!exported || files.size() != 2 || !KnownKind(files[1]))
        return error();
    if (m.Thumbnail > 0) {
        const std::string& out = files[1];
        std::string ext = out.size() >= 4 ? out.substr(out.size() - 4) : out;
        for (char& c : ext)
            c = char(std::tolower(uint8_t(c)));
        if (ext != ".png")
            return error();
    }
    m.Action = TCommandLineAction::Export;
    m.Input = files[0];
    m.Output = files[1];
    return m;
}

// Runs the command line as the program's main does, with the two output streams caught.
int RunCaught(const std::vector<std::string>& args, std::string& out, std::string& err) {
    std::vector<std::string> all{"zandor"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    std::ostringstream outText, errText;
    std::streambuf* oldOut = std::cout.rdbuf(outText.rdbuf());
    std::streambuf* oldErr = std::cerr.rdbuf(errText.rdbuf());
    const std::optional<int> status = RunCommandLine(int(all.size()), argv.data());
    std::cout.rdbuf(oldOut);
    std::cerr.rdbuf(oldErr);
    out = outText.str();
    err = errText.str();
    return status.value_or(-1);
}

} // namespace

int FuzzCmdLine(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    std::vector<std::string> args;
    while (!in.Empty() && args.size() < 12) {
        const uint8_t pick = in.Byte();
        const std::string arg = pick < 0xF0 ? kWords[pick % std::size(kWords)] : in.Bytes(12);
        args.push_back(arg.substr(0, arg.find('\0'))); // what an argv can hold
    }
    const TCommandLine line = ParseCommandLine(args);
    const ModelLine model = Model(args);
    bool newline = false;
    for (const std::string& a : args)
        newline = newline || a.find('\n') != std::string::npos;

    const bool shortOption = !args.empty() && (args[0] == "-h" || args[0] == "-v");
    FuzzCheck(line.Action == TCommandLineAction::Error || line.Error.empty(), "a message without an error");
    if (line.Action == TCommandLineAction::Error) {
        FuzzCheck(!line.Error.empty() && (newline || line.Error.find('\n') == std::string::npos),
                  "an error without its one line");
    }
    if (shortOption) {
        // The short forms are the long ones, or a file of that name.
        const auto longForm = args[0] == "-h" ? TCommandLineAction::Help : TCommandLineAction::Version;
        FuzzCheck(line.Action == longForm || line.Action == TCommandLineAction::OpenWindow,
                  "a short option read as neither its long form nor a file");
    } else if (model.Action == TCommandLineAction::Export && line.Action == TCommandLineAction::Error &&
               (model.Font || !model.Certain)) {
        // A face the system lacks, or a colour name the model does not know, may be refused.
    } else if (line.Action != model.Action &&
               !(model.Action == TCommandLineAction::Error && !model.Certain)) {
        std::string shown;
        for (const std::string& a : args)
            shown += " [" + Printable(a, 40) + "]";
        FuzzFail("the command line" + shown + " is read as action " + std::to_string(int(line.Action)) +
                 ", the model's " + std::to_string(int(model.Action)) + " (" + line.Error + ")");
    }
    if (line.Action == TCommandLineAction::Export) {
        FuzzCheck(KnownKind(line.Job.Output), "an export to no kind of file");
        FuzzCheck(line.Job.Scale >= 1 && line.Job.Scale <= kMaxExportScale, "a scale out of its range");
        FuzzCheck(line.Job.Columns >= 0 && line.Job.Columns <= 100000, "columns out of their range");
        FuzzCheck(line.Job.Thumbnail == 0 ||
                      (line.Job.Thumbnail >= 1 && line.Job.Thumbnail <= kMaxThumbnailSize &&
                       ExportKindOf(line.Job.Output) == TExportKind::Png),
                  "a thumbnail out of its range or not a PNG picture");
        FuzzCheck(!line.FontSize || (*line.FontSize >= 1 && *line.FontSize <= 500),
                  "a font size out of range");
        if (model.Action == TCommandLineAction::Export) {
            FuzzCheck(line.Job.Input == model.Input && line.Job.Output == model.Output,
                      "other files than named");
            FuzzCheck(line.Job.Scale == model.Scale && line.Job.Columns == model.Columns &&
                          line.Job.Thumbnail == model.Thumbnail,
                      "other numbers than given");
            if (model.Foreground && model.Background)
                FuzzCheck(line.Foreground && *line.Foreground == platform::TColor(*model.Foreground) &&
                              line.Background && *line.Background == platform::TColor(*model.Background),
                          "other colours than given");
        }
        return 0; // an export would need files and the application
    }
    // What the user sees: the help or version on standard output with status 0, or one line on
    // standard error with a non-zero status.
    std::string out, err;
    const int status = RunCaught(args, out, err);
    switch (line.Action) {
    case TCommandLineAction::OpenWindow:
        FuzzCheck(status == -1 && out.empty() && err.empty(), "the window's command line did something");
        break;
    case TCommandLineAction::Help:
    case TCommandLineAction::Version:
        FuzzCheck(status == 0 && !out.empty() && err.empty(), "help or version is not shown alone");
        break;
    default:
        if (status == 0 || !out.empty() || err != "zandor: " + line.Error + "\n")
            FuzzFail("a bad command line ends with status " + std::to_string(status) + ", output " +
                     Printable(out) + " and error output " + Printable(err));
    }
    return 0;
}

} // namespace zandor::fuzz
