// Per-user settings: string values addressed by section and key. The
// application name (the executable's own name) is fixed when the store is
// made, so callers never pass it.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace osk {

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored text, or `fallback` when the key is absent; never writes.
  virtual std::string read(std::string_view section, std::string_view key,
                           std::string_view fallback) const = 0;
  // Stores one value whole: a failure (or a crash) leaves the old value or
  // the new one, never part of it. False when the value was not stored.
  [[nodiscard]] virtual bool write(std::string_view section, std::string_view key,
                                   std::string_view value) = 0;
};

// In-memory store for tests, and for running when the real store is unusable.
class MemoryStore final : public SettingsStore {
 public:
  std::string read(std::string_view section, std::string_view key, std::string_view fallback) const override {
    auto it = values_.find({std::string(section), std::string(key)});
    return it == values_.end() ? std::string(fallback) : it->second;
  }
  // Memory never refuses a value, so callers that hold a MemoryStore need
  // not look at the result.
  bool write(std::string_view section, std::string_view key, std::string_view value) override {
    values_[{std::string(section), std::string(key)}] = std::string(value);
    return true;
  }
  bool has(std::string_view section, std::string_view key) const {
    return values_.contains({std::string(section), std::string(key)});
  }
  std::size_t size() const { return values_.size(); }

 private:
  std::map<std::pair<std::string, std::string>, std::string> values_;
};

inline constexpr std::string_view kSettingsSection = "Settings";

}  // namespace osk
