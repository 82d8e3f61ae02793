#include "platform/desktop/input_event.h"

#include <mutex>
#include <set>
#include <string>

namespace brimlox::desktop {

const char* InternName(std::string_view name) {
    static std::mutex lock;
    static auto* names = new std::set<std::string, std::less<>>();  // never freed: events may outlive statics
    std::lock_guard<std::mutex> hold(lock);
    auto it = names->find(name);
    if (it == names->end()) it = names->emplace(name).first;
    return it->c_str();
}

}  // namespace brimlox::desktop
