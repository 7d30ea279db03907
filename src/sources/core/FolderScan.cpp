#include "FolderScan.h"

#include "Probe.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <utility>

namespace vx {

namespace fs = std::filesystem;

namespace {

constexpr int kProgressEvery = 50;

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

char Lower(char c) {
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

// A run of digits without its leading zeros.
std::string_view DigitRun(std::string_view text, std::size_t& at) {
    const std::size_t begin = at;
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    std::string_view run = text.substr(begin, at - begin);
    while (run.size() > 1 && run.front() == '0')
        run.remove_prefix(1);
    return run;
}

// -1, 0 or 1 as `a` sorts before, with or after `b`.
int NaturalCompare(std::string_view a, std::string_view b) {
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::string_view x = DigitRun(a, i), y = DigitRun(b, j);
            if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
            if (const int c = x.compare(y); c != 0) return c < 0 ? -1 : 1;
            continue;
        }
        const char x = Lower(a[i++]), y = Lower(b[j++]);
        if (x != y) return x < y ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

struct Entry {
    std::string name;
    bool folder = false;
};

class Walk {
  public:
    Walk(const ScanControl& control, ScanResult& result) : control_(control), result_(result) {}

    void Folder(const fs::path& folder, const std::string& root) {
        if (Cancelled()) return;
        struct stat status {};
        if (::stat(folder.c_str(), &status) != 0) {
            Note(folder, "it cannot be read");
            return;
        }
        if (!seen_.insert({status.st_dev, status.st_ino}).second) {
            Note(folder, "a symbolic link leads back to a folder already scanned");
            return;
        }
        for (const Entry& entry : Entries(folder)) {
            if (Cancelled()) return;
            const fs::path path = folder / entry.name;
            if (entry.folder) {
                Folder(path, root);
                continue;
            }
            result_.files.push_back({path.string(), root});
            if (control_.progress && result_.files.size() % kProgressEvery == 0)
                control_.progress(static_cast<int>(result_.files.size()));
        }
    }

  private:
    bool Cancelled() const { return control_.cancelled && control_.cancelled->load(); }

    void Note(const fs::path& folder, const std::string& why) {
        result_.notes.push_back("passed over the folder " + folder.string() + ": " + why);
    }

    // The folders and Flash Video files in the folder, hidden ones left out, in
    // natural order.
    std::vector<Entry> Entries(const fs::path& folder) {
        std::vector<Entry> entries;
        std::error_code error;
        fs::directory_iterator it(folder, error);
        if (error) {
            Note(folder, "it cannot be read (" + error.message() + ")");
            return entries;
        }
        for (; it != fs::directory_iterator(); it.increment(error)) {
            if (error) {
                Note(folder, "it could not be read whole (" + error.message() + ")");
                break;
            }
            std::string name = it->path().filename().string();
            if (name.empty() || name.front() == '.') continue;
            std::error_code ignored;
            const fs::file_status status = it->status(ignored); // through links
            if (fs::is_directory(status))
                entries.push_back({std::move(name), true});
            else if (fs::is_regular_file(status) && HasFlashVideoExtension(name))
                entries.push_back({std::move(name), false});
        }
        std::sort(entries.begin(), entries.end(), [](const Entry& x, const Entry& y) {
            const int c = NaturalCompare(x.name, y.name);
            return c != 0 ? c < 0 : x.name < y.name;
        });
        return entries;
    }

    const ScanControl& control_;
    ScanResult& result_;
    std::set<std::pair<dev_t, ino_t>> seen_;
};

} // namespace

bool NaturalLess(std::string_view a, std::string_view b) {
    const int c = NaturalCompare(a, b);
    return c != 0 ? c < 0 : a < b;
}

bool HasFlashVideoExtension(std::string_view name) {
    if (name.size() < 4) return false;
    std::string tail(name.substr(name.size() - 4));
    for (char& c : tail)
        c = Lower(c);
    return tail == ".flv" || tail == ".f4v";
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return fs::is_directory(path, error);
}

ScanResult CollectSources(const std::vector<std::string>& paths, const ScanControl& control) {
    ScanResult result;
    Walk walk(control, result);
    for (const std::string& path : paths) {
        if (IsFolder(path)) {
            std::string root = fs::path(path).lexically_normal().string();
            while (root.size() > 1 && root.back() == '/')
                root.pop_back();
            walk.Folder(root, root);
        } else if (IsFlvName(path)) {
            result.files.push_back({path, {}});
        } else {
            result.refused.push_back(fs::path(path).filename().string());
        }
    }
    if (control.progress) control.progress(static_cast<int>(result.files.size()));
    return result;
}

std::string RefusedSentence(const std::vector<std::string>& refused) {
    std::string text = "Only FLV files are allowed! Not added: ";
    for (std::size_t i = 0; i < refused.size(); ++i)
        text += (i ? ", " : "") + refused[i];
    return text;
}

} // namespace vx
