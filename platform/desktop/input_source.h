// Where mouse and key events come from: a scripted list of timed events (tests, headless runs)
// or a live window (the SDL2 presenter). The message loop asks for due events, for the time of
// the next one, and, on the real clock, waits for one.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "platform/desktop/input_event.h"

namespace brimlox::desktop {

class InputSource {
public:
    virtual ~InputSource() = default;
    // The time of the next event, or nothing when none is known yet.
    virtual std::optional<std::uint64_t> NextTime() = 0;
    // Removes and returns the next event if it is due at `now`.
    virtual std::optional<InputEvent> TakeDue(std::uint64_t now) = 0;
    // True when no event will ever come again (scripted input that has run out).
    virtual bool Exhausted() const = 0;
    // The time after which a scripted source has nothing more to say (its last event or wait).
    virtual std::uint64_t EndTime() const { return 0; }
    // Real clock only: blocks until an event may have arrived or `timeoutMs` passed.
    virtual void Wait(std::uint64_t timeoutMs) { (void)timeoutMs; }
};

// A fixed list of events in time order, as parsed from an input script.
class ScriptedInput : public InputSource {
public:
    explicit ScriptedInput(std::vector<InputEvent> events, std::uint64_t endTime = 0);
    std::optional<std::uint64_t> NextTime() override;
    std::optional<InputEvent> TakeDue(std::uint64_t now) override;
    bool Exhausted() const override { return events_.empty(); }
    std::uint64_t EndTime() const override { return endTime_; }

private:
    std::deque<InputEvent> events_;
    std::uint64_t endTime_;
};

}  // namespace brimlox::desktop
