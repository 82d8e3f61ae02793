#include "platform/desktop/input_source.h"

namespace brimlox::desktop {

ScriptedInput::ScriptedInput(std::vector<InputEvent> events, std::uint64_t endTime)
    : events_(events.begin(), events.end()), endTime_(endTime) {
    if (!events_.empty() && events_.back().timeMs > endTime_) endTime_ = events_.back().timeMs;
}

std::optional<std::uint64_t> ScriptedInput::NextTime() {
    if (events_.empty()) return std::nullopt;
    return events_.front().timeMs;
}

std::optional<InputEvent> ScriptedInput::TakeDue(std::uint64_t now) {
    if (events_.empty() || events_.front().timeMs > now) return std::nullopt;
    InputEvent e = events_.front();
    events_.pop_front();
    return e;
}

}  // namespace brimlox::desktop
