#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

namespace corvane::platform::ui {

/// A two-way connection to a value stored elsewhere: reading calls `get`, writing calls
/// `set`. Controls read their binding whenever their view is updated and write it on every
/// change the user makes.
template <class T>
class Binding {
  public:
    Binding() : get_([] { return T{}; }), set_([](T) {}) {}
    Binding(std::function<T()> get, std::function<void(T)> set)
        : get_(std::move(get)), set_(std::move(set)) {}

    /// A binding that always reads `value` and ignores writes.
    static Binding constant(T value) {
        return Binding([value] { return value; }, [](T) {});
    }

    T get() const { return get_(); }
    void set(T value) const { set_(std::move(value)); }

    /// A binding to one member of the bound value: reading reads the whole value and takes
    /// the member; writing reads the whole value, replaces the member and writes it back.
    template <class U, class C = T>
    requires std::is_class_v<C> Binding<U> member(U C::*field)
    const {
        auto get = get_;
        auto set = set_;
        return Binding<U>([get, field] { return get().*field; },
                          [get, set, field](U value) {
                              T whole = get();
                              whole.*field = std::move(value);
                              set(std::move(whole));
                          });
    }

  private:
    std::function<T()> get_;
    std::function<void(T)> set_;
};

}  // namespace corvane::platform::ui
