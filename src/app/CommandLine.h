// What the command line asks for besides opening a file: the help, the version, or an export
// that runs without a window (and never hands anything to a running window).
#pragma once

#include "export/ArtExport.h"

#include <optional>
#include <string>
#include <vector>

namespace zandor {

enum class TCommandLineAction { OpenWindow, Help, Version, Export, Error };

struct TCommandLine {
    TCommandLineAction Action = TCommandLineAction::OpenWindow;
    std::string Error; // one line for standard error
    TExportJob Job;
    // What the command line set; the rest comes from the settings by the input's extension.
    std::optional<std::string> FontName;
    std::optional<int> FontSize;
    std::optional<platform::TColor> Foreground;
    std::optional<platform::TColor> Background;
};

// The arguments after the program's name. "-h" and "-v" are --help and --version; any other first
// argument that does not start with "--" is a file to open in the window, as always.
TCommandLine ParseCommandLine(const std::vector<std::string>& args);

// "#rrggbb", a colour name ("white", "clWhite") or a settings colour value.
std::optional<platform::TColor> ParseColorArgument(const std::string& text);

// The usage text of --help.
std::string CommandLineHelp();

// Runs the help, version or export the command line asks for and gives the exit status; nothing
// when the window is to start. Sets up the headless application an export needs.
std::optional<int> RunCommandLine(int argc, char** argv);

} // namespace zandor
