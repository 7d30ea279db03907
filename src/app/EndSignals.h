#pragma once
// The signals that end the program from outside: SIGTERM (a polite kill, the
// session ending), SIGHUP (the terminal or session it was started from going
// away), SIGQUIT and SIGINT (Ctrl+\ and Ctrl+C there). They are taken in the
// window's event loop, so that the program can leave nothing half written
// before it ends. One instance at a time; the tools we start get the default
// handling back.

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace vx {

class EndSignals : public QObject {
  public:
    explicit EndSignals(std::function<void(int signal)> ended, QObject* parent = nullptr);
    ~EndSignals() override; // the default handling back

  private:
    void Take();
    std::function<void(int)> ended_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace vx
