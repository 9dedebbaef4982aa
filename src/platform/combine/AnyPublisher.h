#pragma once

#include <functional>
#include <utility>

#include "platform/combine/Publisher.h"

namespace corvane::platform {

/// A publisher seen only as something to subscribe to: whoever made it decides what a new
/// subscriber receives. Main thread only, like the publishers it erases.
template <class T>
class AnyPublisher {
  public:
    using Subscriber = std::function<void(const T&)>;
    using Subscribe = std::function<AnyCancellable(Subscriber)>;

    explicit AnyPublisher(Subscribe subscribe) : subscribe_(std::move(subscribe)) {}

    /// Subscribes; the subscription lasts as long as the returned value.
    [[nodiscard]] AnyCancellable sink(Subscriber subscriber) const {
        return subscribe_(std::move(subscriber));
    }

  private:
    Subscribe subscribe_;
};

}  // namespace corvane::platform
