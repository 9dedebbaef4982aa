#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace corvane::platform {

/// Ends a subscription when cancelled or destroyed.
class AnyCancellable {
  public:
    AnyCancellable() = default;
    explicit AnyCancellable(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    AnyCancellable(AnyCancellable&& other) noexcept
        : cancel_(std::exchange(other.cancel_, nullptr)) {}
    AnyCancellable& operator=(AnyCancellable&& other) noexcept {
        if (this != &other) {
            cancel();
            cancel_ = std::exchange(other.cancel_, nullptr);
        }
        return *this;
    }
    AnyCancellable(const AnyCancellable&) = delete;
    AnyCancellable& operator=(const AnyCancellable&) = delete;
    ~AnyCancellable() { cancel(); }

    void cancel() {
        if (auto c = std::exchange(cancel_, nullptr))
            c();
    }

  private:
    std::function<void()> cancel_;
};

/// A synchronous publisher: `send` calls every live subscriber in subscription order, on the
/// sending thread. Used on the main thread only.
template <class... Values>
class Publisher {
  public:
    using Subscriber = std::function<void(const Values&...)>;

    Publisher() : state_(std::make_shared<State>()) {}
    Publisher(const Publisher&) = delete;
    Publisher& operator=(const Publisher&) = delete;

    /// Subscribes; the subscription lasts as long as the returned value.
    [[nodiscard]] AnyCancellable sink(Subscriber subscriber) {
        std::uint64_t id = state_->nextId++;
        state_->subscribers.emplace_back(id, std::make_shared<Subscriber>(std::move(subscriber)));
        std::weak_ptr<State> weak = state_;
        return AnyCancellable([weak, id] {
            if (auto state = weak.lock()) {
                std::erase_if(state->subscribers, [id](const auto& s) { return s.first == id; });
            }
        });
    }

    void send(const Values&... values) const {
        // Subscribers may subscribe or cancel while being called: iterate over a snapshot and
        // skip the ones cancelled meanwhile.
        auto snapshot = state_->subscribers;
        for (const auto& [id, subscriber] : snapshot) {
            bool live = std::any_of(state_->subscribers.begin(), state_->subscribers.end(),
                                    [id = id](const auto& s) { return s.first == id; });
            if (live)
                (*subscriber)(values...);
        }
    }

  private:
    struct State {
        std::uint64_t nextId = 1;
        std::vector<std::pair<std::uint64_t, std::shared_ptr<Subscriber>>> subscribers;
    };
    std::shared_ptr<State> state_;
};

/// An object that announces, synchronously and before it changes, that it will change.
class ObservableObject {
  public:
    virtual ~ObservableObject() = default;
    Publisher<>& objectWillChange() const { return objectWillChange_; }

  private:
    mutable Publisher<> objectWillChange_;
};

}  // namespace corvane::platform
