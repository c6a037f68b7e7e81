#pragma once
// The per-user settings store as the program uses it: text values addressed by
// section and key under one application name. The window backs it with QSettings;
// tests use MemorySettingsStore.

#include <map>
#include <string>
#include <string_view>
#include <utility>

namespace pestrolik {

class SettingsStore {
public:
    virtual ~SettingsStore() = default;
    // The stored text, or `defaultValue` when the key is missing.
    virtual std::string get(std::string_view section, std::string_view key,
                            std::string_view defaultValue) = 0;
    // Stores the text, creating section and key as needed.
    virtual void save(std::string_view section, std::string_view key, std::string_view value) = 0;
    // Writes what was saved out now; false when it could not be written.
    virtual bool flush() { return true; }
    // Where the values are kept, for telling the user; empty when that means nothing.
    virtual std::string location() const { return {}; }
};

class MemorySettingsStore : public SettingsStore {
public:
    std::string get(std::string_view section, std::string_view key,
                    std::string_view defaultValue) override {
        auto found = values_.find({std::string(section), std::string(key)});
        return found == values_.end() ? std::string(defaultValue) : found->second;
    }
    void save(std::string_view section, std::string_view key, std::string_view value) override {
        values_[{std::string(section), std::string(key)}] = std::string(value);
    }
    bool has(std::string_view section, std::string_view key) const {
        return values_.count({std::string(section), std::string(key)}) > 0;
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> values_;
};

}  // namespace pestrolik
