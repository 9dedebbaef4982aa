#pragma once

#include <map>
#include <mutex>
#include <optional>
#include <string>

#include "platform/appkit/ImageBackend.h"
#include "platform/appkit/NSImage.h"

namespace corvane::platform::sim {

/// The simulated session's symbols and image assets: which exist and their natural sizes.
/// By default the symbols the application's menu and status item use and the application's
/// two icon assets; tests remove or add entries to reach the paths where one is missing.
class SystemImages final : public ImageBackend {
  public:
    SystemImages();

    std::optional<CGSize> systemSymbolSize(const std::string& name) const override;
    std::optional<CGSize> imageAssetSize(const std::string& name) const override;

    /// The knobs: a symbol or asset of that size exists from now on (none: it does not).
    void setSystemSymbol(const std::string& name, std::optional<CGSize> size);
    void setImageAsset(const std::string& name, std::optional<CGSize> size);

  private:
    static std::optional<CGSize> find(const std::map<std::string, CGSize>& table,
                                      const std::string& name);
    static void set(std::map<std::string, CGSize>& table, const std::string& name,
                    std::optional<CGSize> size);

    mutable std::mutex mutex_;
    std::map<std::string, CGSize> symbols_;
    std::map<std::string, CGSize> assets_;
};

}  // namespace corvane::platform::sim
