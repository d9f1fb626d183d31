#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/SettingsStore.h"

namespace zav::test {

// An in-memory settings store with at most one key. Values are set per test, including those a
// real store cannot be made to give (a read that fails after the value was found).
class FakeSettingsStore final : public ISettingsStore {
public:
    struct Value {
        SettingsValueType type = SettingsValueType::String;
        std::size_t dataSize = 0;
        std::optional<std::string> data;  // nothing: reading the data fails
    };

    // The key exists; values may be added to it.
    void AddKey(const std::string& keyPath) { keyPath_ = keyPath; }
    void SetString(const std::string& name, const std::string& text) {
        values_[name] = {SettingsValueType::String, text.size() + 1, text};
    }
    void SetValue(const std::string& name, const Value& value) { values_[name] = value; }

    std::unique_ptr<ISettingsKey> OpenKey(const std::string& keyPath) override {
        ++opened_;
        if (!keyPath_ || *keyPath_ != keyPath) {
            return nullptr;
        }
        return std::make_unique<Key>(*this);
    }

    int OpenedKeys() const { return opened_; }
    int OpenKeysNow() const { return open_; }

private:
    class Key final : public ISettingsKey {
    public:
        explicit Key(FakeSettingsStore& store) : store_(store) { ++store_.open_; }
        ~Key() override { --store_.open_; }

        std::optional<SettingsValueInfo> QueryValue(const std::string& name) override {
            const auto found = store_.values_.find(name);
            if (found == store_.values_.end()) {
                return std::nullopt;
            }
            return SettingsValueInfo{found->second.type, found->second.dataSize};
        }
        std::optional<std::string> ReadString(const std::string& name) override {
            const auto found = store_.values_.find(name);
            return found == store_.values_.end() ? std::nullopt : found->second.data;
        }

    private:
        FakeSettingsStore& store_;
    };

    std::optional<std::string> keyPath_;
    std::map<std::string, Value> values_;
    int opened_ = 0;
    int open_ = 0;
};

}  // namespace zav::test
