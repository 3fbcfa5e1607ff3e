#pragma once

#include <QString>
#include <QStringList>
#include <cstring>
#include <map>
#include <string>

#include "platform/Registry.h"

namespace qb::test {

// A registry of the test's own: keys by root and path, values by name as type and bytes.
// Every call is logged, names byte for byte as Latin-1; a refusing registry opens nothing (the
// access asked for includes write rights).
class FakeRegistry final : public platform::Registry {
  public:
    struct Value {
        std::uint32_t type;
        std::string data;
    };
    void set(const std::string& path, const std::string& name, Value value) {
        keys[path][name] = std::move(value);
    }

    platform::RegistryStatus openKey(platform::RegistryKey root, const std::string& path,
                                     std::uint32_t, std::uint32_t access,
                                     platform::RegistryKey& key) override {
        log << QStringLiteral("open %1 %2 %3")
                   .arg(root, 0, 16)
                   .arg(QString::fromLatin1(path))
                   .arg(access, 0, 16);
        if (refuseAccess) return platform::kRegistryAccessDenied;
        if (root != platform::kLocalMachine || !keys.contains(path))
            return platform::kRegistryNotFound;
        key = next++;
        open[key] = path;
        return platform::kRegistrySuccess;
    }
    platform::RegistryStatus queryValue(platform::RegistryKey key, const std::string& name,
                                        std::uint32_t& type, std::uint8_t* data,
                                        std::uint32_t& size) override {
        log << QStringLiteral("query %1").arg(QString::fromLatin1(name));
        if (!open.contains(key)) return platform::kRegistryInvalidHandle;
        const auto& values = keys.at(open.at(key));
        const auto found = values.find(name);
        if (found == values.end()) return platform::kRegistryNotFound;
        const Value& value = found->second;
        type = value.type;
        const auto needed = static_cast<std::uint32_t>(value.data.size());
        const bool fits = needed <= size;
        if (fits) std::memcpy(data, value.data.data(), needed);
        size = needed;
        return fits ? platform::kRegistrySuccess : platform::kRegistryMoreData;
    }
    platform::RegistryStatus closeKey(platform::RegistryKey key) override {
        log << QStringLiteral("close");
        return open.erase(key) == 1 ? platform::kRegistrySuccess : platform::kRegistryInvalidHandle;
    }

    std::map<std::string, std::map<std::string, Value>> keys;
    std::map<platform::RegistryKey, std::string> open;
    bool refuseAccess = false;
    QStringList log;
    platform::RegistryKey next = 0x40;
};

}  // namespace qb::test
