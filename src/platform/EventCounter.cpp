#include "EventCounter.h"

#include <sys/eventfd.h>
#include <unistd.h>

namespace vx {

EventCounter::EventCounter() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

EventCounter::~EventCounter() {
    if (fd_ >= 0) close(fd_);
}

std::uint64_t EventCounter::Take() const {
    std::uint64_t count = 0;
    return read(fd_, &count, sizeof count) == sizeof count ? count : 0;
}

void EventCounter::Add(int fd) {
    const std::uint64_t one = 1;
    if (write(fd, &one, sizeof one) < 0) {
        // a count at its limit still wakes its reader
    }
}

} // namespace vx
