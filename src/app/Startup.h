// The program entry's work before the main window exists: where the settings live, the data
// folder, the settings store and the single-instance hand-off (both halves).
#pragma once

#include "app/ConfigSaver.h"
#include "app/SharedMem.h"
#include "platform/UserRuntime.h"

#include <functional>
#include <memory>
#include <string>

namespace zandor {

inline constexpr const char* kInstanceLockName = "Zandor";
inline constexpr const char* kSharedBlockName = "ZandorShareMem";
inline constexpr int kSharedBlockSize = 4096;
inline constexpr const char* kNewFileChannel = "ZandorNewFile";

// Process-wide values of the start-up and the objects it creates. Owns the settings store, the
// shared block and the instance lock; the main window refers to it.
struct TStartup {
    std::string ExeFolder; // ends in '/'
    // The fonts, language files and help pages; ends in '/' (platform::ResourceFolder).
    std::string ResourceFolder;
    bool PortableMode = false;
    std::string DataFolder;   // ends in '/'
    std::string SettingsFile; // portable mode only
    std::string NewFileMessage = kNewFileChannel;
    bool HandedOff = false;
    bool StartingUp = true;
    bool OneInstance = false;

    std::unique_ptr<TConfigSaver> Config;
    std::unique_ptr<TSharedMem> SharedMem;
    platform::InstanceLock InstanceMutex;
};

// Steps 2 to 5 of the start-up: the folder of the program's own files, portable or per-user mode,
// the data folder, and the settings files of older installations moved into it. userConfigFolder is the
// application-data folder ('/'-ended, may be empty).
void ChooseSettingsLocation(TStartup& s, const std::string& exeFolder, const std::string& userConfigFolder);

// Creates the settings store for the chosen mode (INI file or the per-user registry file).
void CreateSettingsStore(TStartup& s);

// Creates the shared block and reads OneInstance.
void PrepareHandOff(TStartup& s);

// The sending half: when another instance runs and OneInstance is on, writes the long form of
// `argument` into the shared block and tells the running instance; HandedOff is set only when that
// instance took the request, so without one (or when a busy one stays silent past the patience,
// and the request is withdrawn) this start goes on as a normal instance. Errors are shown
// through showError ("Internal Error #1, please report!") and leave this instance to start normally.
void ProcessOneInstance(TStartup& s, const std::string& argument, const std::string& workingFolder,
                        const std::function<void(const std::string&)>& showError);

// The reading half: the name in the shared block, or empty when the block cannot be opened.
std::string GetSharedFilename(TSharedMem& sharedMem);

// The whole program: start-up, the main window and the message loop.
int RunZandor(int argc, char** argv);

} // namespace zandor
