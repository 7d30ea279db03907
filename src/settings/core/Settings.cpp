#include "Settings.h"

#include "AppFolder.h"
#include "IniFile.h"
#include "Numbers.h"
#include "UserFolders.h"

#include <filesystem>
#include <unistd.h>

namespace vx {

namespace {

std::string Read(const std::string& appFolder, const char* key) {
    return ReadSetting(SettingsPath(appFolder), kSettingsSection, key);
}

// Compared as numbers: a text that is no number never equals one.
bool NumberEquals(const std::string& text, double number) {
    const auto value = ToNumber(text);
    return value && *value == number;
}

bool NumberOtherThanZero(const std::string& text) {
    const auto value = ToNumber(text);
    return value && *value != 0;
}

// The stored folder, or the default one when none is stored ("0" counts as none).
std::string OutputFolder(const std::string& appFolder) {
    const std::string stored = Read(appFolder, "outputfolder");
    return (stored.empty() || stored == "0") ? DefaultOutputFolder() : stored;
}

// Where the settings are read and written, and what stands in the way of
// writing them there when something already does.
struct SettingsPlace {
    std::string path;
    std::string problem; // e.g. the user's settings folder cannot be made
};

// The user's own settings file, made ready for reading and writing: its folder
// exists, and on first use it starts as a copy of the application folder's file.
// When its folder cannot be made, the folder's file is read instead and the
// reason is kept: a later write fails for that reason, whatever the write says.
SettingsPlace UserSettingsFile(const std::string& portable) {
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(ConfigHome()) / "vantorix";
    const fs::path own = folder / "settings.dat";
    std::error_code error;
    if (fs::exists(own, error)) return {own.string(), {}};
    if (fs::create_directories(folder, error); error) {
        const std::string problem =
            "cannot make the folder " + folder.string() + " (" + error.message() + ")";
        return {fs::exists(portable, error) ? portable : own.string(), problem};
    }
    if (!fs::exists(portable, error)) return {own.string(), {}};
    // Copy under a temporary name, then rename: a reader never sees half a file,
    // and of two first starts at once the later rename changes nothing.
    const fs::path partial = folder / ("settings.dat." + std::to_string(::getpid()));
    if (fs::copy_file(portable, partial, fs::copy_options::overwrite_existing, error)) {
        fs::rename(partial, own, error);
        if (error) fs::remove(partial, error);
    }
    return {fs::exists(own, error) ? own.string() : portable, {}};
}

SettingsPlace PlaceOf(const std::string& appFolder) {
    const std::string portable = WithTrailingSeparator(appFolder) + "settings.dat";
    return FolderWritable(appFolder) ? SettingsPlace{portable, {}} : UserSettingsFile(portable);
}

// Writes one key; on failure, the reason the user can act on.
bool WriteAt(const SettingsPlace& place, const char* section, const char* key,
             const std::string& value, std::string& reason) {
    const WriteOutcome written = WriteSetting(place.path, section, key, value);
    if (!written) reason = place.problem.empty() ? written.reason : place.problem;
    return written.ok;
}

// "parallel": files converted at once; missing or out of range reads as 0, automatic.
int Parallel(const std::string& appFolder) {
    const auto value = ToInt32(Read(appFolder, "parallel"));
    return (value && *value >= 0 && *value <= kMostAtOnce) ? *value : 0;
}

} // namespace

std::string SettingsPath(const std::string& appFolder) {
    return PlaceOf(appFolder).path;
}

std::string DefaultOutputFolder() {
    return VideosFolder();
}

SettingsView LoadSettingsView(const std::string& appFolder) {
    SettingsView view;
    view.outputFolder = OutputFolder(appFolder);
    const std::string existed = Read(appFolder, "existedfile");
    view.overwrite = NumberOtherThanZero(existed);
    const std::string shutdown = Read(appFolder, "autoshut");
    view.autoShutdown = NumberEquals(shutdown, 1);
    view.threads = Read(appFolder, "thread");
    view.parallel = std::to_string(Parallel(appFolder));
    view.keepFolders = NumberEquals(Read(appFolder, "keepfolders"), 1);
    return view;
}

SaveOutcome SaveSettingsView(const std::string& appFolder, const SettingsView& view) {
    const double threads = ReadNumber(view.threads);
    if (threads > 8) return {SaveResult::ThreadError, {}};
    const auto parallel = ToInt32(Trim(view.parallel).empty() ? "0" : view.parallel);
    if (!parallel || *parallel < 0 || *parallel > kMostAtOnce)
        return {SaveResult::ParallelError, {}};
    if (view.outputFolder.find_first_of("\r\n") != std::string::npos)
        return {SaveResult::LineBreak, {}};
    const SettingsPlace place = PlaceOf(appFolder);
    const std::pair<const char*, std::string> values[] = {
        {"outputfolder", std::string(Trim(view.outputFolder))},
        {"existedfile", view.overwrite ? "1" : "0"},
        {"autoshut", view.autoShutdown ? "1" : "0"},
        {"thread", PlainNumberText(threads)},
        {"parallel", std::to_string(*parallel)},
        {"keepfolders", view.keepFolders ? "1" : "0"},
    };
    std::string reason;
    for (const auto& [key, value] : values)
        if (!WriteAt(place, kSettingsSection, key, value, reason))
            return {SaveResult::WriteError, reason};
    return {};
}

BatchSettings LoadBatchSettings(const std::string& appFolder) {
    BatchSettings settings;
    settings.outputFolder = OutputFolder(appFolder);
    const std::string existed = Read(appFolder, "existedfile");
    // Only a stored number other than 0 overwrites; anything else keeps both files.
    settings.addNew = !NumberOtherThanZero(existed);
    settings.threads = ReadNumber(Read(appFolder, "thread"));
    settings.parallel = Parallel(appFolder);
    settings.keepFolders = NumberEquals(Read(appFolder, "keepfolders"), 1);
    return settings;
}

bool AutoShutdownRequested(const std::string& appFolder) {
    return NumberEquals(Read(appFolder, "autoshut"), 1);
}

int LoadProfilePosition(const std::string& appFolder) {
    return static_cast<int>(ReadNumber(Read(appFolder, "profile")));
}

namespace {

// One key of [Set] written where the settings are kept.
bool SaveSetKey(const std::string& appFolder, const char* key, const std::string& value,
                std::string* reason) {
    std::string why;
    const bool written = WriteAt(PlaceOf(appFolder), "Set", key, value, why);
    if (!written && reason) *reason = why;
    return written;
}

} // namespace

bool SaveProfilePosition(const std::string& appFolder, int position, std::string* reason) {
    return SaveSetKey(appFolder, "profile", std::to_string(position), reason);
}

int LoadListShare(const std::string& appFolder) {
    const double percent = ReadNumber(Read(appFolder, "listshare"));
    return percent >= 10 && percent <= 90 ? static_cast<int>(percent) : 0;
}

bool SaveListShare(const std::string& appFolder, int percent, std::string* reason) {
    return SaveSetKey(appFolder, "listshare", std::to_string(percent), reason);
}

} // namespace vx
