#include "BatchLog.h"

#include "UserFolders.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace vx {

namespace {

std::string Now() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

} // namespace

std::string BatchLogPath() {
    return StateHome() + "/vantorix/last-batch.log";
}

void BatchLog::Open() {
    const std::string path = BatchLogPath();
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    out_.close();
    out_.clear();
    out_.open(path, std::ios::trunc);
    Line("batch started");
}

void BatchLog::Line(const std::string& text) {
    if (out_.is_open()) out_ << "[" << Now() << "] " << text << "\n" << std::flush;
}

void BatchLog::Started(int row, const std::string& source, const std::string& commandLine) {
    Line("row " + std::to_string(row + 1) + ": " + source);
    if (out_.is_open()) out_ << "  command: " << commandLine << "\n" << std::flush;
}

void BatchLog::Ended(int row, const std::string& result, const std::string& note,
                     const std::vector<std::string>& lastLines) {
    Line("row " + std::to_string(row + 1) + ": " + result + (note.empty() ? "" : ": " + note));
    if (!out_.is_open()) return;
    for (const std::string& line : lastLines)
        out_ << "  | " << line << "\n";
    out_ << std::flush;
}

} // namespace vx
