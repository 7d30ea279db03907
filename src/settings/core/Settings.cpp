#include "Settings.h"

#include "AppFolder.h"
#include "IniFile.h"
#include "Numbers.h"

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

// The stored folder, or the application folder when none is stored ("0" counts as none).
std::string OutputFolder(const std::string& appFolder) {
    const std::string stored = Read(appFolder, "outputfolder");
    return (stored.empty() || stored == "0") ? appFolder : stored;
}

} // namespace

std::string SettingsPath(const std::string& appFolder) {
    return WithTrailingSeparator(appFolder) + "settings.dat";
}

SettingsView LoadSettingsView(const std::string& appFolder) {
    SettingsView view;
    view.outputFolder = OutputFolder(appFolder);
    const std::string existed = Read(appFolder, "existedfile");
    view.overwrite = NumberOtherThanZero(existed);
    const std::string shutdown = Read(appFolder, "autoshut");
    view.autoShutdown = NumberEquals(shutdown, 1);
    view.threads = Read(appFolder, "thread");
    return view;
}

SaveResult SaveSettingsView(const std::string& appFolder, const SettingsView& view) {
    const double threads = ReadNumber(view.threads);
    if (threads > 8) return SaveResult::ThreadError;
    const std::string path = SettingsPath(appFolder);
    WriteSetting(path, kSettingsSection, "outputfolder", std::string(Trim(view.outputFolder)));
    WriteSetting(path, kSettingsSection, "existedfile", view.overwrite ? "1" : "0");
    WriteSetting(path, kSettingsSection, "autoshut", view.autoShutdown ? "1" : "0");
    WriteSetting(path, kSettingsSection, "thread", PlainNumberText(threads));
    return SaveResult::Saved;
}

BatchSettings LoadBatchSettings(const std::string& appFolder) {
    BatchSettings settings;
    settings.outputFolder = OutputFolder(appFolder);
    const std::string existed = Read(appFolder, "existedfile");
    // Only a stored number other than 0 overwrites; anything else keeps both files.
    settings.addNew = !NumberOtherThanZero(existed);
    settings.threads = ReadNumber(Read(appFolder, "thread"));
    return settings;
}

bool AutoShutdownRequested(const std::string& appFolder) {
    return NumberEquals(Read(appFolder, "autoshut"), 1);
}

int LoadProfilePosition(const std::string& appFolder) {
    return static_cast<int>(ReadNumber(Read(appFolder, "profile")));
}

void SaveProfilePosition(const std::string& appFolder, int position) {
    WriteSetting(SettingsPath(appFolder), "Set", "profile", std::to_string(position));
}

} // namespace vx
