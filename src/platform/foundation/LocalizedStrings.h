#pragma once

#include <map>
#include <string>

namespace corvane::platform {

/// The main bundle's default string table: the text shown for each localizable key. A key
/// without an entry is shown as it is (the keys are the English texts).
class LocalizedStrings {
  public:
    static LocalizedStrings& main();

    /// The text for `key`.
    std::string localizedString(const std::string& key) const;
    /// The simulated session's knob: the table of the language in use (empty: English).
    void setTable(std::map<std::string, std::string> table) { table_ = std::move(table); }

  private:
    std::map<std::string, std::string> table_;
};

}  // namespace corvane::platform
