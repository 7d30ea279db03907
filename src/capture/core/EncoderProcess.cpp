#include "EncoderProcess.h"

#include "Spawn.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace vx {

namespace {

std::int64_t NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void CloseFd(int& fd) {
    if (fd >= 0) close(fd);
    fd = -1;
}

constexpr std::int64_t kTerminateAfterMs = 5000;
constexpr std::int64_t kKillAfterMs = 10000;

} // namespace

std::shared_ptr<EncoderProcess> EncoderProcess::Start(const std::vector<std::string>& arguments,
                                                      std::size_t pictureBytes, Events events) {
    IgnoreBrokenPipes();
    int input[2], output[2], errors[2];
    if (pipe2(input, O_CLOEXEC) != 0) return nullptr;
    if (pipe2(output, O_CLOEXEC) != 0) {
        close(input[0]);
        close(input[1]);
        return nullptr;
    }
    if (pipe2(errors, O_CLOEXEC) != 0) {
        for (int fd : {input[0], input[1], output[0], output[1]})
            close(fd);
        return nullptr;
    }
    // A roomy preview pipe: several pictures fit while the reader is scheduled.
    fcntl(output[0], F_SETPIPE_SZ, 1 << 20);
    SpawnRequest request{arguments, {}, input[0], output[1], errors[1]};
    const pid_t pid = Spawn(request);
    for (int fd : {input[0], output[1], errors[1]})
        close(fd);
    if (pid <= 0) {
        for (int fd : {input[1], output[0], errors[0]})
            close(fd);
        return nullptr;
    }
    fcntl(input[1], F_SETFL, fcntl(input[1], F_GETFL) | O_NONBLOCK);

    std::shared_ptr<EncoderProcess> encoder(new EncoderProcess);
    encoder->pid_ = pid;
    encoder->console_ = input[1];
    encoder->pictures_ = output[0];
    encoder->report_ = errors[0];
    encoder->pictureBytes_ = pictureBytes;
    encoder->picture_.resize(pictureBytes);
    encoder->events_ = std::move(events);
    std::thread([encoder] { encoder->Run(); }).detach();
    return encoder;
}

EncoderProcess::~EncoderProcess() {
    CloseFd(console_);
    CloseFd(pictures_);
    CloseFd(report_);
}

void EncoderProcess::Stop() {
    std::int64_t none = 0;
    stopAsked_.compare_exchange_strong(none, NowMs());
    std::lock_guard lock(mutex_);
    if (!exited_ && console_ >= 0) (void)!write(console_, "q", 1);
}

void EncoderProcess::Kill() {
    Signal(SIGKILL);
}

void EncoderProcess::Signal(int signal) {
    std::lock_guard lock(mutex_);
    if (!exited_) kill(pid_, signal);
}

void EncoderProcess::ReadPictures() {
    const ssize_t n = read(pictures_, picture_.data() + filled_, pictureBytes_ - filled_);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n <= 0) {
        CloseFd(pictures_);
        return;
    }
    filled_ += static_cast<std::size_t>(n);
    if (filled_ < pictureBytes_) return;
    filled_ = 0;
    if (events_.picture) events_.picture(picture_);
    picture_.resize(pictureBytes_);
}

bool EncoderProcess::ReadReport() {
    char buffer[4096];
    const ssize_t n = read(report_, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return true;
    if (n <= 0) return false;
    if (events_.report) events_.report(std::string_view(buffer, static_cast<std::size_t>(n)));
    return true;
}

void EncoderProcess::Run() {
    bool terminated = false, killed = false;
    while (pictures_ >= 0 || report_ >= 0) {
        pollfd fds[2] = {{pictures_, POLLIN, 0}, {report_, POLLIN, 0}};
        // A timeout as well, so that an encoder that has gone silent is still
        // ended when a stop was asked for and it does not obey.
        if (poll(fds, 2, 500) < 0 && errno != EINTR) break;
        const std::int64_t asked = stopAsked_.load();
        if (fds[0].revents) ReadPictures();
        if (fds[1].revents && !ReadReport()) CloseFd(report_);
        if (asked && !terminated && NowMs() - asked > kTerminateAfterMs) {
            Signal(SIGTERM);
            terminated = true;
        }
        if (asked && !killed && NowMs() - asked > kKillAfterMs) {
            Signal(SIGKILL);
            killed = true;
        }
    }
    // Wait without reaping first, so that no signal can reach a reused id.
    siginfo_t info{};
    while (waitid(P_PID, static_cast<id_t>(pid_), &info, WEXITED | WNOWAIT) < 0 && errno == EINTR) {
    }
    {
        std::lock_guard lock(mutex_);
        exited_ = true;
        CloseFd(console_);
    }
    int status = 0;
    while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    if (events_.ended) events_.ended(ExitCodeOf(status));
    events_ = {};
}

} // namespace vx
