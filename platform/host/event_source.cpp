#include "platform/host/event_source.h"

#include <algorithm>

namespace brimlox::host {

// Links a raise into its source's chain of raises in progress, and on the way out, unless a
// handler destroyed the source, unlinks it and, at the outermost raise, drops the connections
// removed meanwhile.
class EventSource::RaiseScope {
public:
    explicit RaiseScope(EventSource& source) : source_(source) {
        frame_.outer = source.raising_;
        source.raising_ = &frame_;
    }
    ~RaiseScope() {
        if (frame_.sourceGone) return;
        source_.raising_ = frame_.outer;
        if (!frame_.outer && source_.disconnectedDuringRaise_) source_.DropDisconnected();
    }
    RaiseScope(const RaiseScope&) = delete;
    RaiseScope& operator=(const RaiseScope&) = delete;
    bool SourceGone() const { return frame_.sourceGone; }

private:
    EventSource& source_;
    RaiseFrame frame_;
};

EventSource::~EventSource() {
    if (!raising_) return;
    RaiseFrame* outermost = raising_;
    for (RaiseFrame* f = raising_; f; f = f->outer) {
        f->sourceGone = true;
        outermost = f;
    }
    outermost->orphans = std::move(connections_);
}

int EventSource::Connect(std::string event, Handler handler) {
    connections_.push_back(Connection{nextId_, std::move(event), std::make_unique<Handler>(std::move(handler))});
    return nextId_++;
}

void EventSource::Disconnect(int id) {
    if (id <= 0) return;
    if (!raising_) {
        std::erase_if(connections_, [id](const Connection& c) { return c.id == id; });
        return;
    }
    // A raise is walking the list: the handler may be the one running, so it stays until the
    // outermost raise ends.
    for (Connection& c : connections_) {
        if (c.id != id) continue;
        c.id = 0;
        disconnectedDuringRaise_ = true;
    }
}

void EventSource::DropDisconnected() {
    disconnectedDuringRaise_ = false;
    std::erase_if(connections_, [](const Connection& c) { return c.id == 0; });
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
    // The connections made before the raise run, in order; nothing is erased while a raise is
    // in progress, so their positions hold, and one disconnected on the way (id 0) is skipped.
    // Each handler is called where it lives: it stays alive until the outermost raise is over.
    RaiseScope scope(*this);
    const std::size_t count = connections_.size();
    int run = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const Connection& c = connections_[i];
        if (c.id == 0 || !SameEventName(c.event, event)) continue;
        (*c.handler)(args);
        ++run;
        if (scope.SourceGone()) break;
    }
    return run;
}

}  // namespace brimlox::host
