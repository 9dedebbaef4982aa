#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace corvane::platform {

using Data = std::vector<std::uint8_t>;

/// A property-list value: what user defaults, info dictionaries and window descriptions
/// hold. Numbers are doubles, as the property-list number type reads back.
class PlistValue {
  public:
    using Dictionary = std::map<std::string, PlistValue>;
    using Storage = std::variant<Data, std::string, double, bool, Dictionary>;

    PlistValue(Data data) : storage_(std::move(data)) {}                    // NOLINT(implicit)
    PlistValue(std::string string) : storage_(std::move(string)) {}         // NOLINT(implicit)
    PlistValue(const char* string) : storage_(std::string(string)) {}       // NOLINT(implicit)
    PlistValue(double number) : storage_(number) {}                         // NOLINT(implicit)
    PlistValue(int number) : storage_(static_cast<double>(number)) {}       // NOLINT(implicit)
    PlistValue(bool flag) : storage_(flag) {}                               // NOLINT(implicit)
    PlistValue(Dictionary dictionary) : storage_(std::move(dictionary)) {}  // NOLINT(implicit)

    const Data* data() const { return std::get_if<Data>(&storage_); }
    const std::string* string() const { return std::get_if<std::string>(&storage_); }
    const double* number() const { return std::get_if<double>(&storage_); }
    const bool* boolean() const { return std::get_if<bool>(&storage_); }
    const Dictionary* dictionary() const { return std::get_if<Dictionary>(&storage_); }

    const Storage& storage() const { return storage_; }
    bool operator==(const PlistValue&) const = default;

  private:
    Storage storage_;
};

using PlistDictionary = PlistValue::Dictionary;

}  // namespace corvane::platform
