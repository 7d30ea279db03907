#pragma once
// The main window's side of the batch run: its panel, bars, clock, messages.

#include "BatchRun.h"
#include "Desktop.h"
#include "ListKeeper.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "SlimProgressBar.h"
#include "TimeText.h"

#include <QGroupBox>
#include <QLabel>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

namespace vx {

class WindowBatchView : public BatchView {
  public:
    explicit WindowBatchView(MainWindow& window) : w_(window) {
        refresh_.setTimerType(Qt::PreciseTimer);
        refresh_.setInterval(BatchRun::kRefreshMilliseconds);
    }
    // Drives the run from the window's own event loop, whatever dialog is open:
    // it looks again when an encoder ends, Cancel is pressed, or the bars are due.
    void Follow(BatchRun& run) {
        if (!notifier_) {
            notifier_ =
                std::make_unique<QSocketNotifier>(run.WakeDescriptor(), QSocketNotifier::Read);
            QObject::connect(notifier_.get(), &QSocketNotifier::activated, [&run] { run.Step(); });
            QObject::connect(&refresh_, &QTimer::timeout, [&run] { run.Step(); });
        }
        notifier_->setEnabled(true);
        refresh_.start();
    }
    void Ended() override {
        if (notifier_) notifier_->setEnabled(false);
        refresh_.stop();
        w_.BatchEnded();
    }
    void RowWriting(std::uint64_t id, const WorkingFile& working,
                    const std::string& folder) override {
        if (w_.keeper_) w_.keeper_->RowWriting(id, working, folder);
    }
    void RowEnded(std::uint64_t id) override {
        if (w_.keeper_) w_.keeper_->RowEnded(id);
    }
    int SelectedPosition() const override { return w_.chooser_->SelectedPosition(); }
    std::string SelectedText() const override { return w_.chooser_->SelectedText().toStdString(); }
    void ShowPanel(bool shown) override {
        if (shown) w_.PlaceProgressPanel();
        w_.picture4_->setVisible(shown);
        if (shown) w_.picture4_->raise();
    }
    void SetBusy(bool busy) override { w_.SetBatchBusy(busy); }
    void SetTrackProgress(int percent) override { Bar("prgTrackProgress")->setValue(percent); }
    void SetTotalProgress(int percent) override { Bar("prgTotalProgress")->setValue(percent); }
    void SetFileCaption(const std::string& caption) override {
        w_.picture4_->findChild<QGroupBox*>(QStringLiteral("Frame14"))
            ->setTitle(QString::fromStdString(caption));
    }
    void StartClock() override {
        w_.batchSeconds_ = 0;
        SetProgressLine("Time left: estimating");
        Clock()->setText(QString::fromStdString(TimeText(0)));
        w_.timer2_->start();
    }
    void StopClock() override { w_.timer2_->stop(); }
    void ShowMessage(BatchMessage message, const std::string& text) override {
        const MessageIcon icon =
            (message == BatchMessage::Completed || message == BatchMessage::NoProfile ||
             message == BatchMessage::Canceled) // the user's own wish, no error
                ? MessageIcon::Information
                : message == BatchMessage::CompletedWithFailures ? MessageIcon::Warning
                                                                 : MessageIcon::Critical;
        // An end with rows that did not convert offers the log of the batch.
        if (message == BatchMessage::CompletedWithFailures) {
            if (w_.desktop_.ShowMessageOffering(&w_, icon, QString::fromStdString(text),
                                                QStringLiteral("Show Log")))
                w_.ShowBatchLog();
            return;
        }
        w_.desktop_.ShowMessage(&w_, icon, QString::fromStdString(text));
    }
    void SetProgressLine(const std::string& line) override {
        w_.picture4_->findChild<QLabel*>(QStringLiteral("lblProgressLine"))
            ->setText(QString::fromStdString(line));
    }
    void PreventSleep(bool on) override {
        if (on)
            w_.desktop_.InhibitSleep();
        else
            w_.desktop_.ReleaseSleep();
    }
    void OpenFolder(const std::string& folder) override {
        w_.desktop_.OpenFolder(QString::fromStdString(folder));
    }
    std::string PowerOff() override { return w_.desktop_.PowerOff().toStdString(); }

  private:
    SlimProgressBar* Bar(const char* name) {
        return w_.picture4_->findChild<SlimProgressBar*>(QLatin1String(name));
    }
    QLabel* Clock() { return w_.picture4_->findChild<QLabel*>(QStringLiteral("SkinLabel2")); }
    MainWindow& w_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer refresh_;
};

} // namespace vx
