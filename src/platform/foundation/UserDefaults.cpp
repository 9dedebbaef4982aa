#include "platform/foundation/UserDefaults.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

namespace corvane::platform {

namespace {

using nlohmann::json;

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string base64Encode(const Data& data) {
    std::string out;
    out.reserve((data.size() + 2) / 3 * 4);
    for (std::size_t i = 0; i < data.size(); i += 3) {
        std::uint32_t n = static_cast<std::uint32_t>(data[i]) << 16;
        if (i + 1 < data.size()) n |= static_cast<std::uint32_t>(data[i + 1]) << 8;
        if (i + 2 < data.size()) n |= data[i + 2];
        out += kBase64[(n >> 18) & 63];
        out += kBase64[(n >> 12) & 63];
        out += i + 1 < data.size() ? kBase64[(n >> 6) & 63] : '=';
        out += i + 2 < data.size() ? kBase64[n & 63] : '=';
    }
    return out;
}

std::optional<Data> base64Decode(const std::string& text) {
    Data out;
    std::uint32_t buffer = 0;
    int bits = 0;
    for (char c : text) {
        if (c == '=') break;
        const char* p = std::char_traits<char>::find(kBase64, 64, c);
        if (p == nullptr) return std::nullopt;
        buffer = (buffer << 6) | static_cast<std::uint32_t>(p - kBase64);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out.push_back(static_cast<std::uint8_t>((buffer >> bits) & 0xFF));
        }
    }
    return out;
}

json toJson(const PlistValue& value) {
    return std::visit(
        [](const auto& v) -> json {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, Data>) {
                return json{{"data", base64Encode(v)}};
            } else if constexpr (std::is_same_v<T, std::string>) {
                return json{{"string", v}};
            } else if constexpr (std::is_same_v<T, double>) {
                return json{{"number", v}};
            } else if constexpr (std::is_same_v<T, bool>) {
                return json{{"bool", v}};
            } else {
                json dict = json::object();
                for (const auto& [k, item] : v) dict[k] = toJson(item);
                return json{{"dict", dict}};
            }
        },
        value.storage());
}

std::optional<PlistValue> fromJson(const json& j) {
    if (!j.is_object() || j.size() != 1) return std::nullopt;
    auto first = j.begin();
    const std::string& tag = first.key();
    const json& v = first.value();
    if (tag == "data" && v.is_string()) {
        auto data = base64Decode(v.get<std::string>());
        if (!data) return std::nullopt;
        return PlistValue(std::move(*data));
    }
    if (tag == "string" && v.is_string()) return PlistValue(v.get<std::string>());
    if (tag == "number" && v.is_number()) return PlistValue(v.get<double>());
    if (tag == "bool" && v.is_boolean()) return PlistValue(v.get<bool>());
    if (tag == "dict" && v.is_object()) {
        PlistDictionary dict;
        for (const auto& [k, item] : v.items()) {
            auto parsed = fromJson(item);
            if (!parsed) return std::nullopt;
            dict.emplace(k, std::move(*parsed));
        }
        return PlistValue(std::move(dict));
    }
    return std::nullopt;
}

std::mutex& standardMutex() {
    static std::mutex m;
    return m;
}

std::shared_ptr<DefaultsStore>& standardStore() {
    static std::shared_ptr<DefaultsStore> store;
    return store;
}

}  // namespace

bool InMemoryDefaultsStore::persist(const PlistDictionary& domain) {
    if (failWrites_) return false;
    domain_ = domain;
    ++persistCount_;
    return true;
}

PlistDictionary FileDefaultsStore::load() {
    std::ifstream in(path_, std::ios::binary);
    if (!in) return {};
    json j = json::parse(in, nullptr, /*allow_exceptions=*/false);
    PlistDictionary domain;
    if (!j.is_object()) return domain;  // unreadable: start empty, the file is kept until a write
    for (const auto& [key, item] : j.items()) {
        if (auto value = fromJson(item)) domain.emplace(key, std::move(*value));
    }
    return domain;
}

bool FileDefaultsStore::persist(const PlistDictionary& domain) {
    json j = json::object();
    for (const auto& [key, value] : domain) j[key] = toJson(value);
    const std::string text = j.dump(2) + "\n";

    std::error_code ec;
    std::filesystem::path target(path_);
    if (target.has_parent_path()) std::filesystem::create_directories(target.parent_path(), ec);
    const std::string temp = path_ + ".tmp." + std::to_string(::getpid());
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    std::size_t written = 0;
    while (written < text.size()) {
        ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n <= 0) {
            ::close(fd);
            ::unlink(temp.c_str());
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    bool ok = ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path_.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    if (target.has_parent_path()) {
        int dir = ::open(target.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
    return true;
}

std::string FileDefaultsStore::defaultPath(const std::string& domain) {
    std::string base;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        base = std::string(home) + "/.config";
    } else {
        base = ".";
    }
    return base + "/corvane/" + domain + ".plist.json";
}

UserDefaults& UserDefaults::standard() {
    static UserDefaults* defaults = [] {
        std::lock_guard lock(standardMutex());
        if (!standardStore()) standardStore() = std::make_shared<InMemoryDefaultsStore>();
        return new UserDefaults(standardStore());
    }();
    return *defaults;
}

void UserDefaults::installStandardStore(std::shared_ptr<DefaultsStore> store) {
    std::lock_guard lock(standardMutex());
    standardStore() = std::move(store);
}

UserDefaults::UserDefaults(std::shared_ptr<DefaultsStore> store)
    : store_(std::move(store)), domain_(store_->load()) {}

std::optional<PlistValue> UserDefaults::object(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto it = domain_.find(key);
    if (it == domain_.end()) return std::nullopt;
    return it->second;
}

std::optional<Data> UserDefaults::data(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto it = domain_.find(key);
    if (it == domain_.end() || it->second.data() == nullptr) return std::nullopt;
    return *it->second.data();
}

std::optional<std::string> UserDefaults::string(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto it = domain_.find(key);
    if (it == domain_.end() || it->second.string() == nullptr) return std::nullopt;
    return *it->second.string();
}

void UserDefaults::set(const std::string& key, PlistValue value) {
    std::lock_guard lock(mutex_);
    domain_.insert_or_assign(key, std::move(value));
    persistLocked();
}

void UserDefaults::removeObject(const std::string& key) {
    std::lock_guard lock(mutex_);
    domain_.erase(key);
    persistLocked();
}

void UserDefaults::persistLocked() {
    // The values stay in memory whatever the store answers, as the platform's defaults do;
    // a failed write leaves the previous persisted state in place.
    (void)store_->persist(domain_);
}

}  // namespace corvane::platform
