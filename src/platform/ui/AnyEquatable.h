#pragma once

#include <memory>
#include <typeindex>
#include <utility>

namespace corvane::platform::ui {

/// A copy of any equality-comparable value, compared with others of the same type (values
/// of different types are unequal).
class AnyEquatable {
  public:
    AnyEquatable() = default;
    template <class T>
    explicit AnyEquatable(T value)
        : type_(typeid(T)),
          value_(std::make_shared<T>(std::move(value))),
          equal_([](const void* a, const void* b) {
              return *static_cast<const T*>(a) == *static_cast<const T*>(b);
          }) {}

    bool hasValue() const { return value_ != nullptr; }
    /// The value; `T` must be the type it was made from.
    template <class T>
    const T& get() const {
        return *static_cast<const T*>(value_.get());
    }

    bool operator==(const AnyEquatable& other) const {
        if (!value_ || !other.value_)
            return value_ == other.value_;
        return type_ == other.type_ && equal_(value_.get(), other.value_.get());
    }

  private:
    std::type_index type_ = typeid(void);
    std::shared_ptr<const void> value_;
    bool (*equal_)(const void*, const void*) = nullptr;
};

}  // namespace corvane::platform::ui
