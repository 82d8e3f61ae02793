#include "platform/host/event_source.h"

#include <algorithm>

namespace brimlox::host {

int EventSource::Connect(std::string event, Handler handler) {
    connections_.push_back(Connection{nextId_, std::move(event), std::move(handler)});
    return nextId_++;
}

void EventSource::Disconnect(int id) {
    std::erase_if(connections_, [id](const Connection& c) { return c.id == id; });
}

namespace {

// Event names are ASCII identifiers compared without regard to case; folding by hand keeps the
// locale out of every event raised.
bool SameEventName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[i]);
        if (x != y && (x | 0x20) != (y | 0x20)) return false;
        if (x != y && ((x | 0x20) < 'a' || (x | 0x20) > 'z')) return false;
    }
    return true;
}

}  // namespace

int EventSource::RaiseEvent(std::string_view event, std::span<Variant> args) {
    // Handlers may connect or disconnect while running: walk a snapshot of the ids and skip
    // connections that are gone by the time their turn comes. Most events have a handler or
    // two, so the snapshot lives on the stack unless there are many.
    constexpr std::size_t kOnStack = 8;
    int stackIds[kOnStack];
    std::vector<int> heapIds;
    std::size_t count = 0;
    for (const Connection& c : connections_) {
        if (!SameEventName(c.event, event)) continue;
        if (count < kOnStack) {
            stackIds[count] = c.id;
        } else {
            if (heapIds.empty()) heapIds.assign(stackIds, stackIds + kOnStack);
            heapIds.push_back(c.id);
        }
        ++count;
    }
    const std::span<const int> ids = count <= kOnStack ? std::span<const int>(stackIds, count) : std::span<const int>(heapIds);
    int run = 0;
    for (int id : ids) {
        auto it = std::find_if(connections_.begin(), connections_.end(), [id](const Connection& c) { return c.id == id; });
        if (it == connections_.end()) continue;
        Handler h = it->handler;  // a copy: the handler may disconnect itself
        h(args);
        ++run;
    }
    return run;
}

}  // namespace brimlox::host
