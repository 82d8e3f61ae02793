// The desktop's clocks. The real clock follows steady time; the virtual clock stands still
// until the message loop advances it to the next timer or input time, so input tests run
// instantly and give the same timings on every machine.
#pragma once

#include <chrono>
#include <cstdint>

namespace brimlox::desktop {

class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint64_t NowMs() const = 0;
    virtual bool IsVirtual() const = 0;
    // Virtual clocks jump forward to the given time (never back); the real clock ignores it.
    virtual void AdvanceTo(std::uint64_t ms) = 0;
};

class RealClock : public Clock {
public:
    RealClock() : start_(std::chrono::steady_clock::now()) {}
    std::uint64_t NowMs() const override {
        auto d = std::chrono::steady_clock::now() - start_;
        return static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
    }
    bool IsVirtual() const override { return false; }
    void AdvanceTo(std::uint64_t) override {}

private:
    std::chrono::steady_clock::time_point start_;
};

class VirtualClock : public Clock {
public:
    explicit VirtualClock(std::uint64_t start = 0) : now_(start) {}
    std::uint64_t NowMs() const override { return now_; }
    bool IsVirtual() const override { return true; }
    void AdvanceTo(std::uint64_t ms) override {
        if (ms > now_) now_ = ms;
    }

private:
    std::uint64_t now_;
};

}  // namespace brimlox::desktop
