#pragma once
// A count that any thread adds to and one thread sleeps on (an eventfd): its
// descriptor is readable while the count is above zero.

#include <cstdint>

namespace vx {

class EventCounter {
  public:
    EventCounter();
    ~EventCounter();
    EventCounter(const EventCounter&) = delete;
    EventCounter& operator=(const EventCounter&) = delete;

    int Descriptor() const { return fd_; }
    void Add() const { Add(fd_); }
    // Reads the count and sets it to zero; 0 when nothing was counted.
    std::uint64_t Take() const;

    // Adds one to the count behind any event descriptor; never blocks.
    static void Add(int fd);

  private:
    int fd_;
};

} // namespace vx
