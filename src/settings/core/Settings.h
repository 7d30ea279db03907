#pragma once
// The program's settings in section "set" of settings.dat, and the values the
// settings dialog shows and stores.

#include <optional>
#include <string>

namespace vx {

inline constexpr const char* kSettingsSection = "set";

// The settings file of an application folder (as the system reports it): its
// settings.dat while this user may write the folder (a build or a portable
// copy); otherwise the user's own $XDG_CONFIG_HOME/vantorix/settings.dat
// (~/.config/vantorix/), which starts as a copy of the folder's settings.dat
// when there is one.
std::string SettingsPath(const std::string& appFolder);

// The output folder when none is stored, in every layout (a build, a portable
// copy, an installation): the user's videos folder, else the home folder. The
// program's own folder holds the program, never the user's videos.
std::string DefaultOutputFolder();

// What the settings dialog shows.
struct SettingsView {
    std::string outputFolder;   // the stored folder, or DefaultOutputFolder
    bool overwrite = false;     // "existedfile" a number other than 0
    bool autoShutdown = false;  // "autoshut" is 1
    std::string threads;        // the stored text, empty when none
    std::string parallel = "0"; // files converted at once: 0 automatic, or 1 to 16
    bool keepFolders = false;   // "keepfolders" is 1
};

SettingsView LoadSettingsView(const std::string& appFolder);

enum class SaveResult { Saved, ThreadError, ParallelError, LineBreak, WriteError };

struct SaveOutcome {
    SaveResult result = SaveResult::Saved;
    std::string reason; // for WriteError: why the file could not be written
    bool operator==(SaveResult other) const { return result == other; }
};

// Checks and stores the dialog's values in the order outputfolder, existedfile,
// autoshut, thread. A thread count above 8 or a folder holding a line break
// stores nothing; a failed write stops at the key that failed.
SaveOutcome SaveSettingsView(const std::string& appFolder, const SettingsView& view);

// What a batch takes from the settings at its start.
struct BatchSettings {
    std::string outputFolder; // DefaultOutputFolder when none is stored (or "0")
    bool addNew = true;       // "existedfile" 0, missing or not a number: add "_New"
    double threads = 0;       // numeric value of "thread"; 0 gives no thread option
    int parallel = 0;         // files converted at once; 0 (also when missing): automatic
    // A file added with a folder goes below the output folder as it lay below that folder.
    bool keepFolders = false;
};

// The largest number of files converted at once that may be set.
inline constexpr int kMostAtOnce = 16;

BatchSettings LoadBatchSettings(const std::string& appFolder);
bool AutoShutdownRequested(const std::string& appFolder);

// The saved profile position, or nothing when none is stored.
int LoadProfilePosition(const std::string& appFolder);
// False (with the reason) when the file could not be written.
bool SaveProfilePosition(const std::string& appFolder, int position, std::string* reason = nullptr);

// The source list's share of the height it splits with the preview, in percent,
// as the user last left it ("listshare"); 0 when none is stored or it is out of
// the range the window allows.
int LoadListShare(const std::string& appFolder);
bool SaveListShare(const std::string& appFolder, int percent, std::string* reason = nullptr);

} // namespace vx
