#include "platform/host/event_source.h"

#include <algorithm>
#include <cctype>

namespace brimlox::host {

int EventSource::Connect(std::string event, Handler handler) {
    connections_.push_back(Connection{nextId_, std::move(event), std::move(handler)});
    return nextId_++;
}

void EventSource::Disconnect(int id) {
    std::erase_if(connections_, [id](const Connection& c) { return c.id == id; });
}

int EventSource::RaiseEvent(std::string_view event, std::span<Variant> args) {
    auto same = [event](const std::string& name) {
        return name.size() == event.size() &&
               std::equal(name.begin(), name.end(), event.begin(), [](char a, char b) {
                   return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
               });
    };
    // Handlers may connect or disconnect while running: walk a snapshot of the ids and skip
    // connections that are gone by the time their turn comes.
    std::vector<int> ids;
    for (const Connection& c : connections_)
        if (same(c.event)) ids.push_back(c.id);
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
