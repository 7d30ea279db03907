#include "ConsoleView.h"

#include "Catalog.h"

namespace vx {

std::string ConsoleView::SelectedText() const {
    const CatalogEntry* entry = ProfileCatalog::At(position_);
    return entry ? entry->text : "";
}

// The completion message is the program's own summary; the others are said.
void ConsoleView::ShowMessage(BatchMessage message, const std::string& text) {
    if (message == BatchMessage::Completed || message == BatchMessage::CompletedWithFailures)
        return;
    ClearLiveLine();
    std::fprintf(err_, "vantorix-convert: %s\n", text.c_str());
}

void ConsoleView::SetProgressLine(const std::string& line) {
    if (!terminal_) return;
    std::fprintf(err_, "\r\033[K%3d%%  %s", percent_, line.c_str());
    std::fflush(err_);
    liveLine_ = true;
}

std::string ConsoleView::Name(std::uint64_t id, int* row) const {
    *row = rows_.RowOf(id);
    if (*row < 0) return {};
    const SourceItem& item = rows_.Row(*row);
    return item.Joined() ? JoinedName(item) : item.columns[kFileName];
}

void ConsoleView::RowStarted(std::uint64_t id, const std::string& output, bool existed) {
    int row = 0;
    const std::string source = Name(id, &row);
    ClearLiveLine();
    std::fprintf(err_, "[%d/%d] %s -> %s%s\n", row + 1, rows_.Count(), source.c_str(),
                 output.c_str(), existed ? " (replacing it)" : "");
}

void ConsoleView::RowEnded(std::uint64_t id) {
    int row = 0;
    const std::string source = Name(id, &row);
    if (row < 0) return;
    ClearLiveLine();
    const std::string& status = rows_.At(row, kStatus);
    const std::string& note = rows_.Row(row).note;
    std::fprintf(err_, "[%d/%d] %s: %s%s%s\n", row + 1, rows_.Count(), source.c_str(),
                 status.c_str(), note.empty() ? "" : ": ", note.c_str());
    std::fflush(err_);
}

void ConsoleView::ClearLiveLine() {
    if (!liveLine_) return;
    std::fputs("\r\033[K", err_);
    liveLine_ = false;
}

} // namespace vx
