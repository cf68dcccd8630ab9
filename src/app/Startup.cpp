#include "app/Startup.h"

#include "app/CommandLine.h"
#include "app/ZandorF.h"
#include "platform/FileSystem.h"
#include "platform/IntegerText.h"
#include "platform/NewFileChannel.h"
#include "platform/PlatformErrors.h"
#include "platform/ResourceFolder.h"
#include "platform/ScreenFonts.h"
#include "platform/Trace.h"

#include <QApplication>
#include <QIcon>
#include <QMessageBox>

#include <cstring>
#include <optional>
#include <stdexcept>

namespace zandor {

using platform::Trace;

void ChooseSettingsLocation(TStartup& s, const std::string& exeFolder, const std::string& userConfigFolder) {
    s.ExeFolder = platform::IncludeTrailingSlash(exeFolder);
    s.ResourceFolder = platform::ResourceFolder(s.ExeFolder);
    s.PortableMode = platform::FileExists(s.ExeFolder + "usb.dat");
    if (s.PortableMode) {
        s.DataFolder = s.ExeFolder;
        s.SettingsFile = s.DataFolder + "Zandor.ini";
        return;
    }
    s.SettingsFile.clear();
    s.DataFolder = userConfigFolder + "Veltrane/Zandor/";
    if (!platform::FolderExists(s.DataFolder))
        platform::ForceFolders(s.DataFolder);
    if (platform::HasWriteAccess(s.ExeFolder)) {
        for (const char* name : {"Zandor.ini", "highlight.dat"}) {
            if (platform::FileExists(s.ExeFolder + name))
                platform::MoveFileReplacing(s.ExeFolder + name, s.DataFolder + name);
        }
    }
}

void CreateSettingsStore(TStartup& s) {
    s.Config = std::make_unique<TConfigSaver>(s.SettingsFile, s.DataFolder + "registry.reg");
}

void PrepareHandOff(TStartup& s) {
    s.SharedMem = std::make_unique<TSharedMem>();
    s.SharedMem->Name = kSharedBlockName;
    s.SharedMem->Size = kSharedBlockSize;
    s.SharedMem->CreateMapping();
    // A value of the wrong type (a number stored as text by hand) still holds the user's choice
    // when its text is a number; the store keeps the error for the window to report, and the next
    // save writes the value with its own type.
    try {
        s.OneInstance = s.Config->ReadBool("Options", "OneInstance", false);
    } catch (const platform::RegistryError&) {
        int32_t value = 0;
        try {
            s.OneInstance =
                platform::TryStrToInt(s.Config->ReadString("Options", "OneInstance", "0"), value) &&
                value != 0;
        } catch (const platform::RegistryError&) {
            s.OneInstance = false; // neither a number nor text: nothing to go by
        }
    }
}

void ProcessOneInstance(TStartup& s, const std::string& argument, const std::string& workingFolder,
                        const std::function<void(const std::string&)>& showError) {
    s.InstanceMutex.Acquire(kInstanceLockName);
    if (!s.InstanceMutex.AlreadyExisted() || !s.OneInstance)
        return;
    try {
        const std::string name = platform::LongPathName(argument, workingFolder);
        if (!s.SharedMem || !s.SharedMem->Data || s.SharedMem->Size <= 0)
            throw std::runtime_error("the shared block is not mapped");
        TSharedMem& block = *s.SharedMem;
        // Starts take turns at the block: the running window reads it when it takes a request,
        // before this start confirms and lets the next one write its name.
        const platform::RuntimeTurn turn(s.NewFileMessage + "-hand-off");
        // A name that does not fit with its zero byte is not handed over rather than cut short.
        if (platform::FileExists(name) && name.size() < static_cast<size_t>(block.Size))
            std::memcpy(block.Data, name.c_str(), name.size() + 1);
        else
            block.Data[0] = 0;
        // Only an instance that took the request has the name; without one (none listens, or a busy
        // one stayed silent past the patience, and the request was withdrawn) this start opens its
        // own window rather than end having delivered nothing.
        if (!platform::SendNewFileMessage(s.NewFileMessage)) {
            Trace("hand-off unanswered");
            return;
        }
        s.HandedOff = true;
        Trace("handed off: " + std::string(reinterpret_cast<const char*>(block.Data)));
        s.Config.reset();
        s.SharedMem.reset();
    } catch (const std::exception&) {
        if (showError)
            showError("Internal Error #1, please report!");
    }
}

std::string GetSharedFilename(TSharedMem& sharedMem) {
    if (!sharedMem.OpenMapping())
        return {};
    const auto* data = reinterpret_cast<const char*>(sharedMem.Data);
    return std::string(data, strnlen(data, static_cast<size_t>(sharedMem.Size)));
}

int RunZandor(int argc, char** argv) {
    // Help, version and exports run without a window and never reach a running one.
    if (const std::optional<int> status = RunCommandLine(argc, argv))
        return *status;
    // Whole device pixel ratios only: on a high-resolution screen the art is drawn at x2 pixel for
    // pixel rather than smoothed to a fraction.
    QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
    QApplication app(argc, argv);
    TStartup s;
    ChooseSettingsLocation(s, platform::ExecutableFolder(), platform::UserConfigFolder());
    CreateSettingsStore(s);
    PrepareHandOff(s);
    const std::string argument = argc > 1 ? argv[1] : "";
    ProcessOneInstance(s, argument, platform::CurrentFolder(), [](const std::string& message) {
        QMessageBox::warning(nullptr, QString(), QString::fromStdString(message));
    });
    if (s.HandedOff)
        return 0;
    QApplication::setApplicationName("Zandor");
    // Lets the desktop match the window to the installed entry "zandor.desktop" and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("zandor"));
    // Text-mode art needs the screen fonts by name before the first window measures anything.
    const std::string fonts = s.ResourceFolder + "fonts";
    Trace("program files: " + s.ResourceFolder);
    Trace(platform::RegisterScreenFonts(fonts) ? "screen fonts loaded" : "screen fonts missing in " + fonts);
    platform::InstallFontSubstitutions();
    // Task bars that do not read the desktop entry take the icon from the window.
    const std::string icon = platform::ProgramIconFile(s.ResourceFolder);
    if (!icon.empty())
        QApplication::setWindowIcon(QIcon(QString::fromStdString(icon)));
    // Without Qt's SVG plugin the icon draws nothing: said, as the fonts are.
    const bool drawn = !QApplication::windowIcon().pixmap(QSize(64, 64)).isNull();
    Trace("window icon: " + (drawn ? icon : std::string("none")));
    TZandorF window(s, argument.empty() ? std::string()
                                        : platform::LongPathName(argument, platform::CurrentFolder()));
    window.FormResize();
    s.StartingUp = false;
    window.show();
    return QApplication::exec();
}

} // namespace zandor
