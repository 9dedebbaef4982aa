#include "JsonText.h"

#include <charconv>
#include <cmath>

namespace corvane::session {

namespace {

void write(const nlohmann::ordered_json& value, std::string& out) {
    switch (value.type()) {
        case nlohmann::json::value_t::object: {
            out += '{';
            bool first = true;
            for (const auto& [key, member] : value.items()) {
                if (!first)
                    out += ',';
                first = false;
                out += nlohmann::ordered_json(key).dump();
                out += ':';
                write(member, out);
            }
            out += '}';
            return;
        }
        case nlohmann::json::value_t::array: {
            out += '[';
            bool first = true;
            for (const auto& element : value) {
                if (!first)
                    out += ',';
                first = false;
                write(element, out);
            }
            out += ']';
            return;
        }
        case nlohmann::json::value_t::number_float: {
            const double number = value.get<double>();
            if (!std::isfinite(number))
                break;  // written as the library writes it (null)
            char text[32];
            const auto end = std::to_chars(text, text + sizeof text, number).ptr;
            out.append(text, end);
            // A whole number stays a floating-point one, as the library writes it ("2.0").
            if (std::string_view(text, end - text).find_first_of(".e") == std::string_view::npos)
                out += ".0";
            return;
        }
        default:
            break;
    }
    out += value.dump();
}

}  // namespace

std::string jsonText(const nlohmann::ordered_json& value) {
    std::string out;
    write(value, out);
    return out;
}

}  // namespace corvane::session
