#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "settings/CorvaneSettings.h"

namespace corvane {

/// The JSON document of the settings: one compact object whose members are the field names,
/// written in field order, every member always present.
///
/// Fails (none) only when a number is not finite, which JSON cannot hold.
std::optional<std::string> encodeSettings(const CorvaneSettings& settings);

/// Reads a document. Members are looked up by name and unknown ones ignored. In every
/// `scrollAdvanced` object each member may be missing or null and then takes its default;
/// any other missing or null member, any member of the wrong JSON type, or text that is not
/// one JSON object fails the whole decode (none). Never throws.
std::optional<CorvaneSettings> decodeSettings(std::string_view document);

}  // namespace corvane
