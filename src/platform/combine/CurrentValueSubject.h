#pragma once

#include <utility>

#include "platform/combine/AnyPublisher.h"
#include "platform/combine/Publisher.h"

namespace corvane::platform {

/// A subject that holds its latest value: a new subscriber receives that value at once, then
/// every value sent afterwards, synchronously on the sending thread. It never fails. Main
/// thread only.
template <class T>
class CurrentValueSubject {
  public:
    explicit CurrentValueSubject(T initial) : value_(std::move(initial)) {}
    CurrentValueSubject(const CurrentValueSubject&) = delete;
    CurrentValueSubject& operator=(const CurrentValueSubject&) = delete;

    const T& value() const { return value_; }
    /// Stores `value`, then sends it to every subscriber (also when it equals the last one).
    void send(T value) {
        value_ = std::move(value);
        changes_.send(value_);
    }

    /// Subscribes: `subscriber` receives the current value now, then every value sent.
    [[nodiscard]] AnyCancellable sink(typename Publisher<T>::Subscriber subscriber) {
        AnyCancellable subscription = changes_.sink(subscriber);
        subscriber(value_);
        return subscription;
    }

    /// This subject as a publisher whose subscribers cannot send. The subject must outlive
    /// the returned publisher.
    AnyPublisher<T> eraseToAnyPublisher() {
        return AnyPublisher<T>(
            [this](typename AnyPublisher<T>::Subscriber subscriber) { return sink(subscriber); });
    }

  private:
    T value_;
    Publisher<T> changes_;
};

}  // namespace corvane::platform
