#include "EndSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace vx {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGQUIT, SIGINT};
int pipeEnds[2] = {-1, -1};

// Only what may be done in a signal handler: one byte, the signal's number.
void Note(int signal) {
    const int saved = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const auto written = ::write(pipeEnds[1], &byte, 1);
    errno = saved;
}

void Handle(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        sigaction(signal, &action, nullptr);
}

} // namespace

EndSignals::EndSignals(std::function<void(int)> ended, QObject* parent)
    : QObject(parent), ended_(std::move(ended)) {
    if (pipeEnds[0] >= 0 || ::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(pipeEnds[0], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { Take(); });
    Handle(Note);
}

EndSignals::~EndSignals() {
    if (!notifier_) return;
    Handle(SIG_DFL);
    notifier_.reset();
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void EndSignals::Take() {
    char byte = 0;
    while (::read(pipeEnds[0], &byte, 1) == 1)
        if (ended_) ended_(byte);
}

} // namespace vx
