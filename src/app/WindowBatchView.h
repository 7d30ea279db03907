#pragma once
// The main window's side of the batch run: its panel, bars, clock, messages.

#include "BatchRun.h"
#include "Desktop.h"
#include "MainWindow.h"
#include "ProfileChooser.h"
#include "SlimProgressBar.h"
#include "TimeText.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGroupBox>
#include <QLabel>
#include <QSocketNotifier>
#include <QTimer>
#include <memory>

namespace vx {

class WindowBatchView : public BatchView {
  public:
    explicit WindowBatchView(MainWindow& window) : w_(window) {
        refresh_.setSingleShot(true);
        refresh_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&refresh_, &QTimer::timeout, [this] { Quit(); });
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
            (message == BatchMessage::Completed || message == BatchMessage::NoProfile)
                ? MessageIcon::Information
            : message == BatchMessage::CompletedWithFailures ? MessageIcon::Warning
                                                             : MessageIcon::Critical;
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
    void PowerOff() override { w_.desktop_.PowerOff(); }
    void Pump() override { QCoreApplication::processEvents(); }
    // The window's own event loop sleeps until the descriptor or the timer calls.
    // The notifier is on only while the run waits: the descriptor stays readable
    // until the run has read it.
    void Wait(int wake, std::chrono::milliseconds longest) override {
        if (!notifier_ || notifier_->socket() != wake) {
            notifier_ = std::make_unique<QSocketNotifier>(wake, QSocketNotifier::Read);
            QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { Quit(); });
        }
        QEventLoop loop;
        waiting_ = &loop;
        notifier_->setEnabled(true);
        refresh_.start(longest);
        loop.exec();
        refresh_.stop();
        notifier_->setEnabled(false);
        waiting_ = nullptr;
    }

  private:
    void Quit() {
        if (waiting_) waiting_->quit();
    }
    SlimProgressBar* Bar(const char* name) {
        return w_.picture4_->findChild<SlimProgressBar*>(QLatin1String(name));
    }
    QLabel* Clock() { return w_.picture4_->findChild<QLabel*>(QStringLiteral("SkinLabel2")); }
    MainWindow& w_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer refresh_;
    QEventLoop* waiting_ = nullptr;
};

} // namespace vx
