// A first-in first-out queue of input events or messages that keeps its storage. std::deque
// allocates and frees a block every few elements as its two ends march through memory, which
// for a queue that mostly holds zero or one element means an allocation every few messages.
// Here taking the last element rewinds the queue instead, so a steady trickle of events
// allocates nothing once the queue has grown to its working size.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace brimlox::desktop {

template <typename T>
class EventQueue {
public:
    using iterator = typename std::vector<T>::iterator;
    using const_iterator = typename std::vector<T>::const_iterator;

    bool empty() const { return head_ == items_.size(); }
    std::size_t size() const { return items_.size() - head_; }
    T& front() { return items_[head_]; }
    const T& front() const { return items_[head_]; }

    iterator begin() { return items_.begin() + static_cast<std::ptrdiff_t>(head_); }
    iterator end() { return items_.end(); }
    const_iterator begin() const { return items_.begin() + static_cast<std::ptrdiff_t>(head_); }
    const_iterator end() const { return items_.end(); }

    void push_back(T value) { items_.push_back(std::move(value)); }
    // A default element at the back, for the caller to fill in place.
    T& emplace_back() { return items_.emplace_back(); }
    // Puts an element before every other (a message that must come next).
    void push_front(T value) {
        if (head_ > 0)
            items_[--head_] = std::move(value);
        else
            items_.insert(items_.begin(), std::move(value));
    }
    void pop_front() {
        ++head_;
        if (head_ == items_.size())
            clear();
        else if (head_ >= kCompactAfter && head_ * 2 >= items_.size())
            Compact();  // a queue that never empties does not grow without bound
    }
    iterator erase(iterator it) {
        if (it == begin()) {
            pop_front();
            return begin();
        }
        return items_.erase(it);
    }
    iterator erase(iterator first, iterator last) {
        if (first == begin() && last == end()) {
            clear();
            return end();
        }
        return items_.erase(first, last);
    }
    // Keeps the capacity: that is the point of this queue.
    void clear() {
        items_.clear();
        head_ = 0;
    }

private:
    static constexpr std::size_t kCompactAfter = 64;
    void Compact() {
        items_.erase(items_.begin(), begin());
        head_ = 0;
    }

    std::vector<T> items_;
    std::size_t head_ = 0;  // elements before it have been taken
};

}  // namespace brimlox::desktop
