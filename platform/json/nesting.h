// Nesting limits for JSON read from outside. nlohmann's parser keeps its own stack, so any
// nesting parses; but copying, comparing or dumping a value recurses once per level, and a
// file of 100,000 nested arrays overflows the thread's stack. Readers call FindTooDeep right
// after parsing and refuse the input with the path it returns; the walk itself keeps an
// explicit stack, so it is safe on any input.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace brimlox::json {

// Deeper than any file of this project nests (a form file needs 6 levels, a trace line 4),
// and shallow enough that recursive library code stays far from the stack's end.
inline constexpr int kMaxNesting = 64;

// The path of the first value nested more than `maxDepth` levels below `root` (the root is
// level 0), written after `prefix` as ".key" and "[index]" steps; nothing when all is well.
template <typename Json>
std::optional<std::string> FindTooDeep(const Json& root, int maxDepth, const std::string& prefix = "") {
    struct Frame {
        const Json* node;
        typename Json::const_iterator next;
    };
    std::vector<Frame> stack;
    auto push = [&](const Json& node) { stack.push_back({&node, node.cbegin()}); };
    if (root.is_structured()) push(root);
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.node->cend()) {
            stack.pop_back();
            continue;
        }
        const Json& child = *top.next;
        ++top.next;
        if (!child.is_structured()) continue;
        if (static_cast<int>(stack.size()) >= maxDepth) {
            // Rebuild the path from the frames: each frame's iterator is one past its step.
            std::string path = prefix;
            for (const Frame& f : stack) {
                auto step = f.next;
                --step;
                if (f.node->is_object()) path.append(".").append(step.key());
                else path.append("[").append(std::to_string(static_cast<std::size_t>(step - f.node->cbegin()))).append("]");
            }
            return path;
        }
        push(child);
    }
    return std::nullopt;
}

// The message readers give for such a value.
inline std::string TooDeepMessage(int maxDepth) {
    return "nested deeper than " + std::to_string(maxDepth) + " levels";
}

}  // namespace brimlox::json
