// A settings store in memory and a progress display that records, for the module tests.
#pragma once
#include "core/OptionStore.h"
#include "exchange/modules/ModuleSession.h"

#include <map>
#include <string>
#include <vector>

namespace ModuleTest {

class TMemoryOptionStore final : public UserInterface::Settings::OptionStorage::AOptionStore {
public:
    bool IsUnusable() override { return false; }
    bool ReadBinary(std::string_view, std::span<std::uint8_t>) override { return false; }
    bool WriteBinary(std::string_view, std::span<const std::uint8_t>) override { return false; }
    bool ReadInt(std::string_view name, std::int32_t& value) override
    {
        const auto found = ints.find(std::string(name));
        if (found == ints.end())
            return false;
        value = found->second;
        return true;
    }
    bool WriteInt(std::string_view name, std::int32_t value) override
    {
        ints[std::string(name)] = value;
        return true;
    }
    bool ReadString(std::string_view name, std::string& value) override
    {
        const auto found = strings.find(std::string(name));
        if (found == strings.end())
            return false;
        value = found->second;
        return true;
    }
    bool WriteString(std::string_view name, std::optional<std::string_view> text) override
    {
        if (text)
            strings[std::string(name)] = std::string(*text);
        else
            strings.erase(std::string(name));
        return true;
    }
    std::map<std::string, std::string> strings;
    std::map<std::string, std::int32_t> ints;
};

class TRecordingDisplay final : public ExportImport::AProgressDisplay {
public:
    void ShowCaption(std::u16string_view caption) override { captions.emplace_back(caption); }
    void ShowPercent(unsigned percent) override { percents.push_back(percent); }
    std::vector<std::u16string> captions;
    std::vector<unsigned> percents;
};

}  // namespace ModuleTest
