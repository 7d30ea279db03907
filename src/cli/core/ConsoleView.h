#pragma once
// The batch seen from a terminal or a log: a line when a row starts and when
// it ends, and on a terminal one live line with the batch's percentage, time
// left and speed.

#include "BatchRun.h"

#include <cstdio>
#include <string>

namespace vx {

class ConsoleView : public BatchView {
  public:
    ConsoleView(const SourceList& rows, int position, std::FILE* err, bool terminal)
        : rows_(rows), position_(position), err_(err), terminal_(terminal) {}

    int SelectedPosition() const override { return position_; }
    std::string SelectedText() const override;
    void ShowPanel(bool) override {}
    void SetBusy(bool) override {}
    void SetTrackProgress(int) override {}
    void SetTotalProgress(int percent) override { percent_ = percent; }
    void SetFileCaption(const std::string&) override {}
    void StartClock() override {}
    void StopClock() override {}
    void ShowMessage(BatchMessage message, const std::string& text) override;
    void OpenFolder(const std::string&) override {}
    // A command-line batch never switches the computer off.
    std::string PowerOff() override { return {}; }
    void SetProgressLine(const std::string& line) override;
    void RowStarted(std::uint64_t id, const std::string& output, bool existed) override;
    void RowEnded(std::uint64_t id) override;

  private:
    std::string Name(std::uint64_t id, int* row) const;
    void ClearLiveLine();

    const SourceList& rows_;
    const int position_;
    std::FILE* const err_;
    const bool terminal_;
    int percent_ = 0;
    bool liveLine_ = false;
};

} // namespace vx
