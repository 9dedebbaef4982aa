#include "platform/sim/SystemImages.h"

namespace corvane::platform::sim {

// Symbols at the menu font's size (13 points): their widths differ, as real symbols' do. The
// last four are the settings window's tab symbols.
SystemImages::SystemImages()
    : symbols_{{"computermouse.fill", {12, 17}},
               {"info.circle", {16, 15}},
               {"gear", {16, 16}},
               {"xmark.rectangle", {19, 14}},
               {"gearshape", {15, 15}},
               {"slider.horizontal.3", {17, 14}},
               {"minus.circle", {15, 15}},
               {"arrow.2.circlepath", {18, 14}}},
      assets_{{"Orlinde", {512, 512}}, {"OrlindeNew", {512, 512}}} {}

std::optional<CGSize> SystemImages::find(const std::map<std::string, CGSize>& table,
                                         const std::string& name) {
    auto it = table.find(name);
    if (it == table.end())
        return std::nullopt;
    return it->second;
}

void SystemImages::set(std::map<std::string, CGSize>& table, const std::string& name,
                       std::optional<CGSize> size) {
    if (size) {
        table.insert_or_assign(name, *size);
    } else {
        table.erase(name);
    }
}

std::optional<CGSize> SystemImages::systemSymbolSize(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return find(symbols_, name);
}

std::optional<CGSize> SystemImages::imageAssetSize(const std::string& name) const {
    std::lock_guard lock(mutex_);
    return find(assets_, name);
}

void SystemImages::setSystemSymbol(const std::string& name, std::optional<CGSize> size) {
    std::lock_guard lock(mutex_);
    set(symbols_, name, size);
}

void SystemImages::setImageAsset(const std::string& name, std::optional<CGSize> size) {
    std::lock_guard lock(mutex_);
    set(assets_, name, size);
}

}  // namespace corvane::platform::sim
