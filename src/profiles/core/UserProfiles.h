#pragma once
// The user's own profiles: a designed output profile together with the option
// values the user changed, kept one per file, NAME.vxprofile, in the profiles
// folder. A file is an INI file in the settings file's own syntax:
//
//   [Profile]
//   base=22            (the designed entry's catalog position)
//   name=My PS3
//   [Options]
//   Video Size=1280x720  (one line per saved value, keyed by the item's caption)
//
// No Qt here: the command-line converter loads, checks and applies profiles too.

#include "OptionSheet.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

inline constexpr const char* kProfileFileExtension = ".vxprofile";

struct OptionValue {
    std::string caption; // the item's caption, as the property grid shows it
    std::string value;
    bool operator==(const OptionValue&) const = default;
};

struct UserProfile {
    std::string name;
    int base = 0;                    // catalog position of an output profile
    std::vector<OptionValue> values; // in the sheet's order
    std::string file;                // the file it was read from; empty for a new one
};

// A file that holds no usable profile, and why.
struct ProfileRejection {
    std::string file;
    std::string reason;
};

struct ProfileOutcome {
    bool ok = true;
    std::string reason; // for the user
    explicit operator bool() const { return ok; }
};

// $XDG_CONFIG_HOME/vantorix/profiles (~/.config/vantorix/profiles), also for a portable copy.
std::string UserProfilesFolder();

// Why a text cannot name a profile (empty, "/", a line break, "." or "..", too
// long for a file name); nothing when it can.
std::optional<std::string> ProfileNameProblem(std::string_view name);

// The values of the sheet's editable items that differ from what the base
// entry's option set gives a sheet fresh from its default layout.
std::vector<OptionValue> ChangedValues(const OptionSheet& sheet, int base);

// Why a profile cannot be used: its base is no output profile, an option is
// unknown or not one the user may set, or a value is none the sheet ever offers
// for that option. Nothing when it is sound.
std::optional<std::string> ProfileProblem(const UserProfile& profile);

// An option's caption as the base entry's sheet shows it: profiles saved while
// the quality of the later entries was captioned "Video Bitrate" name it so.
std::string CurrentCaption(int base, const std::string& caption);

// The same for an entry and values without a name (the command line's --set).
std::optional<std::string> OptionsProblem(int base, const std::vector<OptionValue>& values);

// The base entry's option set, then the saved values on top. A profile that is
// not sound leaves the sheet untouched and answers false.
bool ApplyUserProfile(OptionSheet& sheet, const UserProfile& profile);
bool ApplyOptions(OptionSheet& sheet, int base, const std::vector<OptionValue>& values);

// Reads and checks one profile file; nothing, with the reason, when it is
// damaged or not sound. A file without a name takes the name of the file.
std::optional<UserProfile> ReadProfileFile(const std::string& path, std::string* reason);
// The text of a profile's file; nothing when a value holds a line break.
std::optional<std::string> ProfileFileText(const UserProfile& profile);

// The profiles of one folder.
class UserProfileStore {
  public:
    explicit UserProfileStore(std::string folder = UserProfilesFolder());

    const std::string& Folder() const { return folder_; }
    // Reads every *.vxprofile of the folder (a missing folder holds none): the
    // sound ones are kept, sorted by name, the others returned with their reasons.
    std::vector<ProfileRejection> Load();
    const std::vector<UserProfile>& Profiles() const { return profiles_; }
    const UserProfile* Find(std::string_view name) const;

    // Writes the profile to NAME.vxprofile, replacing one of the same name.
    ProfileOutcome Save(UserProfile profile);
    // Refuses a name that another profile holds.
    ProfileOutcome Rename(std::string_view from, const std::string& to);
    ProfileOutcome Remove(std::string_view name);
    // Checks a file and copies it in as it is, replacing a profile of the same
    // name; `imported` receives the profile's name.
    ProfileOutcome Import(const std::string& file, std::string* imported = nullptr);
    ProfileOutcome Export(std::string_view name, const std::string& destination) const;

  private:
    std::string PathFor(const std::string& name) const;
    ProfileOutcome Write(const UserProfile& profile, const std::string& content);
    void Keep(UserProfile profile);

    std::string folder_;
    std::vector<UserProfile> profiles_;
};

} // namespace vx
