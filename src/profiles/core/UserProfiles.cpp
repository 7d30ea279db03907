#include "UserProfiles.h"

#include "Catalog.h"
#include "IniFile.h"
#include "OfferedValues.h"
#include "OptionSets.h"
#include "SheetLayout.h"
#include "UserFolders.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <iterator>

namespace vx {

namespace fs = std::filesystem;

namespace {

constexpr const char* kProfileSection = "Profile";
constexpr const char* kOptionsSection = "Options";
constexpr std::size_t kLargestFile = 64 * 1024;
constexpr std::size_t kLongestFileName = 255;

bool SameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

bool Editable(const OptionItem& item) {
    return item.kind == ItemKind::Choice && !item.readOnly;
}

// A sheet fresh from its default layout with the base entry's option set applied.
OptionSheet BaseSheet(int base) {
    OptionSheet sheet;
    FillDefaultLayout(sheet);
    ApplyOptionSet(sheet, base);
    return sheet;
}

// The sheet's order of the options the user may set; unknown ones go last.
int SheetOrder(const std::string& caption) {
    static const std::vector<std::string> captions = [] {
        OptionSheet sheet;
        FillDefaultLayout(sheet);
        std::vector<std::string> list;
        for (const auto& group : sheet.Groups())
            for (const auto& item : group->items)
                list.push_back(item->caption);
        return list;
    }();
    const std::string& place = caption == caption::kQuality ? caption::kVideoBitrate : caption;
    return static_cast<int>(std::find(captions.begin(), captions.end(), place) - captions.begin());
}

OptionItem* FindByCaption(const OptionSheet& sheet, const std::string& caption) {
    for (const auto& group : sheet.Groups())
        if (OptionItem* item = OptionSheet::FindItem(group.get(), caption)) return item;
    return nullptr;
}

std::optional<std::string> BaseProblem(int base) {
    const CatalogEntry* entry = ProfileCatalog::At(base);
    if (!entry) return "it names no output profile (base=" + std::to_string(base) + ")";
    if (entry->kind == EntryKind::Heading)
        return "base=" + std::to_string(base) + " is the heading \"" + entry->text +
               "\", not an output profile";
    return std::nullopt;
}

// A value the base entry's sheet never offers is refused: the later entries'
// choices ("Kept as it is", ...) have no meaning for one of the first 92.
std::optional<std::string> ValueProblem(int base, const OptionValue& option) {
    const std::string caption = CurrentCaption(base, option.caption); // what the sheet shows
    if (!IsSettableOption(caption)) return "the option \"" + option.caption + "\" is unknown";
    if (OffersValue(base, caption, option.value)) return std::nullopt;
    std::string problem = "\"" + option.value + "\" is no value of \"" + option.caption + "\"";
    if (const CatalogEntry* entry = ProfileCatalog::At(base))
        problem += std::string(" for \"") + entry->text + "\"";
    return problem;
}

std::optional<int> Position(const std::string& text) {
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (text.empty() || text.size() > 6 || !std::all_of(text.begin(), text.end(), digit))
        return std::nullopt;
    return std::stoi(text);
}

const IniSection* Section(const std::vector<IniSection>& sections, const char* name) {
    for (const IniSection& section : sections)
        if (SameText(section.name, name)) return &section;
    return nullptr;
}

const std::string* Entry(const IniSection& section, const char* key) {
    for (const auto& [k, v] : section.entries)
        if (SameText(k, key)) return &v;
    return nullptr;
}

// The profile an INI file describes, unchecked but for its form.
std::optional<UserProfile> FromSections(const std::vector<IniSection>& sections,
                                        const std::string& path, std::string& reason) {
    const IniSection* head = Section(sections, kProfileSection);
    if (!head) return reason = "it has no [Profile] section", std::nullopt;
    UserProfile profile;
    profile.file = path;
    const std::string* base = Entry(*head, "base");
    const auto position = base ? Position(*base) : std::nullopt;
    if (!position) return reason = "it names no output profile (no base=POSITION)", std::nullopt;
    profile.base = *position;
    const std::string* name = Entry(*head, "name");
    profile.name = name && !name->empty() ? *name : fs::path(path).stem().string();
    if (const IniSection* options = Section(sections, kOptionsSection))
        for (const auto& [caption, value] : options->entries) {
            const std::string current = CurrentCaption(profile.base, caption);
            for (const OptionValue& seen : profile.values)
                if (seen.caption == current)
                    return reason = "the option \"" + caption + "\" is given twice", std::nullopt;
            profile.values.push_back({current, value});
        }
    std::stable_sort(profile.values.begin(), profile.values.end(),
                     [](const OptionValue& a, const OptionValue& b) {
                         return SheetOrder(a.caption) < SheetOrder(b.caption);
                     });
    return profile;
}

// Reads a profile file once and checks it; `text` receives what was checked.
std::optional<UserProfile> ReadProfile(const std::string& path, std::string* reason,
                                       std::string* text) {
    std::string why;
    auto fail = [&](std::string problem) {
        if (reason) *reason = std::move(problem);
        return std::nullopt;
    };
    auto content = ReadRegularFile(path, &why, kLargestFile);
    if (!content) return fail(why);
    const auto sections = ParseIniText(*content, &why);
    if (!sections) return fail("it is damaged: " + why);
    auto profile = FromSections(*sections, path, why);
    if (!profile) return fail(why);
    if (auto problem = ProfileProblem(*profile)) return fail(*problem);
    if (text) *text = std::move(*content);
    return profile;
}

} // namespace

std::string CurrentCaption(int base, const std::string& caption) {
    return caption == caption::kVideoBitrate ? VideoRateCaption(base) : caption;
}

std::string UserProfilesFolder() {
    return ConfigHome() + "/vantorix/profiles";
}

std::optional<std::string> ProfileNameProblem(std::string_view name) {
    if (name.empty()) return "A profile needs a name.";
    if (name.find('/') != std::string_view::npos) return "A profile name cannot hold a \"/\".";
    if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
        return "A profile name cannot hold a line break.";
    if (name == "." || name == "..") return "\".\" and \"..\" cannot name a profile.";
    if (name.size() + std::strlen(kProfileFileExtension) > kLongestFileName)
        return "The profile name is too long for a file name.";
    return std::nullopt;
}

std::vector<OptionValue> ChangedValues(const OptionSheet& sheet, int base) {
    const OptionSheet reference = BaseSheet(base);
    std::vector<OptionValue> changed;
    for (const auto& group : sheet.Groups())
        for (const auto& item : group->items) {
            if (!Editable(*item)) continue;
            const OptionItem* given = reference.Find(group->caption, item->caption);
            if (!given || given->value != item->value)
                changed.push_back({item->caption, item->value});
        }
    return changed;
}

std::optional<std::string> OptionsProblem(int base, const std::vector<OptionValue>& values) {
    if (auto problem = BaseProblem(base)) return problem;
    for (const OptionValue& option : values)
        if (auto problem = ValueProblem(base, option)) return problem;
    return std::nullopt;
}

std::optional<std::string> ProfileProblem(const UserProfile& profile) {
    if (auto problem = ProfileNameProblem(profile.name)) return problem;
    return OptionsProblem(profile.base, profile.values);
}

bool ApplyOptions(OptionSheet& sheet, int base, const std::vector<OptionValue>& values) {
    if (OptionsProblem(base, values)) return false; // every caption is one the base shows
    ApplyOptionSet(sheet, base);
    for (const OptionValue& option : values)
        sheet.SetValue(FindByCaption(sheet, CurrentCaption(base, option.caption)), option.value);
    return true;
}

bool ApplyUserProfile(OptionSheet& sheet, const UserProfile& profile) {
    return !ProfileNameProblem(profile.name) && ApplyOptions(sheet, profile.base, profile.values);
}

std::optional<UserProfile> ReadProfileFile(const std::string& path, std::string* reason) {
    return ReadProfile(path, reason, nullptr);
}

std::optional<std::string> ProfileFileText(const UserProfile& profile) {
    IniSection head{kProfileSection,
                    {{"base", std::to_string(profile.base)}, {"name", profile.name}}};
    IniSection options{kOptionsSection, {}};
    for (const OptionValue& option : profile.values)
        options.entries.emplace_back(option.caption, option.value);
    return FormatIniFile({head, options});
}

UserProfileStore::UserProfileStore(std::string folder) : folder_(std::move(folder)) {}

std::string UserProfileStore::PathFor(const std::string& name) const {
    return folder_ + "/" + name + kProfileFileExtension;
}

std::vector<ProfileRejection> UserProfileStore::Load() {
    profiles_.clear();
    std::vector<std::string> files;
    std::error_code error;
    for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error))
        if (it->path().extension() == kProfileFileExtension && it->is_regular_file(error))
            files.push_back(it->path().string());
    std::sort(files.begin(), files.end());
    std::vector<ProfileRejection> rejected;
    for (const std::string& file : files) {
        std::string reason;
        auto profile = ReadProfileFile(file, &reason);
        if (profile && Find(profile->name))
            reason = "another file holds a profile named \"" + profile->name + "\"";
        if (!reason.empty())
            rejected.push_back({file, reason});
        else
            Keep(std::move(*profile));
    }
    return rejected;
}

const UserProfile* UserProfileStore::Find(std::string_view name) const {
    for (const UserProfile& profile : profiles_)
        if (profile.name == name) return &profile;
    return nullptr;
}

void UserProfileStore::Keep(UserProfile profile) {
    std::erase_if(profiles_, [&](const UserProfile& p) { return p.name == profile.name; });
    const auto at = std::lower_bound(
        profiles_.begin(), profiles_.end(), profile,
        [](const UserProfile& a, const UserProfile& b) { return a.name < b.name; });
    profiles_.insert(at, std::move(profile));
}

// Writes a profile's file under its name; a file of the same name held
// elsewhere goes, and the profile is kept with its new file.
ProfileOutcome UserProfileStore::Write(const UserProfile& profile, const std::string& content) {
    std::error_code error;
    fs::create_directories(folder_, error);
    if (error) return {false, "The folder " + folder_ + " cannot be made: " + error.message()};
    const std::string path = PathFor(profile.name);
    if (WriteOutcome written = WriteFileAtomically(path, content); !written)
        return {false, path + " cannot be written: " + written.reason};
    if (const UserProfile* old = Find(profile.name); old && old->file != path)
        fs::remove(old->file, error);
    UserProfile kept = profile;
    kept.file = path;
    Keep(std::move(kept));
    return {};
}

ProfileOutcome UserProfileStore::Save(UserProfile profile) {
    if (auto problem = ProfileProblem(profile)) return {false, *problem};
    const auto text = ProfileFileText(profile);
    if (!text) return {false, "A value holds a line break."};
    return Write(profile, *text);
}

ProfileOutcome UserProfileStore::Rename(std::string_view fromName, const std::string& to) {
    const std::string from(fromName); // the caller's text may be a profile's own name
    const UserProfile* old = Find(from);
    if (!old) return {false, "There is no profile named \"" + from + "\"."};
    if (auto problem = ProfileNameProblem(to)) return {false, *problem};
    if (to == from) return {};
    if (Find(to)) return {false, "A profile named \"" + to + "\" exists already."};
    UserProfile renamed = *old;
    const std::string oldFile = old->file;
    renamed.name = to;
    if (ProfileOutcome saved = Save(renamed); !saved) return saved;
    std::error_code error;
    if (oldFile != PathFor(to)) fs::remove(oldFile, error);
    std::erase_if(profiles_, [&](const UserProfile& p) { return p.name == from; });
    return {};
}

ProfileOutcome UserProfileStore::Remove(std::string_view removed) {
    const std::string name(removed); // the caller's text may be the profile's own name
    const UserProfile* profile = Find(name);
    if (!profile) return {false, "There is no profile named \"" + name + "\"."};
    std::error_code error;
    fs::remove(profile->file, error);
    if (error) return {false, profile->file + " cannot be removed: " + error.message()};
    std::erase_if(profiles_, [&](const UserProfile& p) { return p.name == name; });
    return {};
}

ProfileOutcome UserProfileStore::Import(const std::string& file, std::string* imported) {
    std::string reason, text;
    const auto profile = ReadProfile(file, &reason, &text);
    if (!profile) return {false, file + " holds no usable profile: " + reason + "."};
    if (imported) *imported = profile->name;
    return Write(*profile, text); // what was checked, whatever the file holds by now
}

ProfileOutcome UserProfileStore::Export(std::string_view name,
                                        const std::string& destination) const {
    const UserProfile* profile = Find(name);
    if (!profile) return {false, "There is no profile named \"" + std::string(name) + "\"."};
    const auto text = ProfileFileText(*profile);
    if (!text) return {false, "A value holds a line break."};
    if (WriteOutcome written = WriteFileAtomically(destination, *text); !written)
        return {false, destination + " cannot be written: " + written.reason};
    return {};
}

} // namespace vx
