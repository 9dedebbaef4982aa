#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace corvane::session {

/// `value` as one line of JSON text, as `dump()` writes it except that every floating-point
/// number is written as its shortest decimal that reads back as the same double (`0.45`, not
/// the `0.45000000000000001` that the JSON library's own conversion sometimes picks).
std::string jsonText(const nlohmann::ordered_json& value);

}  // namespace corvane::session
