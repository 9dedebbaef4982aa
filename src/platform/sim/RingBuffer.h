#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace corvane::platform::sim {

/// A first-in first-out buffer over one block of slots that are reused in a circle, so that
/// adding and taking items allocate nothing once the buffer has grown to its usual size (a
/// deque allocates a block for every few large items). Not synchronised.
template <class T>
class RingBuffer {
  public:
    /// A buffer with room reserved for `reserved` items (reserved memory is not touched
    /// until items are stored).
    explicit RingBuffer(std::size_t reserved = 0) { slots_.reserve(reserved); }

    std::size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    /// The `i`-th oldest item.
    const T& operator[](std::size_t i) const { return slots_[(head_ + i) % slots_.size()]; }

    /// Adds `item` as the newest, growing the buffer when every slot is in use.
    void push(T item) {
        if (size_ == slots_.size()) {
            // Unrolls the circle, so that the new slot follows the newest item.
            std::rotate(slots_.begin(), slots_.begin() + static_cast<std::ptrdiff_t>(head_),
                        slots_.end());
            head_ = 0;
            slots_.push_back(std::move(item));
        } else {
            slots_[(head_ + size_) % slots_.size()] = std::move(item);
        }
        ++size_;
    }
    /// Adds `item` as the newest; when `limit` items are held already, the oldest goes.
    void pushKeepingLatest(T item, std::size_t limit) {
        if (size_ >= limit)
            dropOldest();
        push(std::move(item));
    }
    /// Removes and returns the oldest item; the buffer must not be empty.
    T take() {
        T item = std::move(slots_[head_]);
        dropOldest();
        return item;
    }
    /// Forgets every item; the slots stay for reuse.
    void clear() {
        head_ = 0;
        size_ = 0;
    }
    /// The items, oldest first.
    std::vector<T> items() const {
        std::vector<T> ordered;
        ordered.reserve(size_);
        for (std::size_t i = 0; i < size_; ++i)
            ordered.push_back((*this)[i]);
        return ordered;
    }

  private:
    void dropOldest() {
        head_ = (head_ + 1) % slots_.size();
        --size_;
    }

    std::vector<T> slots_;
    std::size_t head_ = 0;  ///< the slot of the oldest item
    std::size_t size_ = 0;  ///< items held
};

}  // namespace corvane::platform::sim
