// The program's per-user settings: typed options that load and save themselves through the
// option store, their defaults and the range rules applied on loading.
#pragma once
#include "core/OptionStore.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace UserInterface::Settings {

using OptionStorage::AOptionStore;

// A named string or integer value. Loading a string that is missing gives an empty one;
// loading an integer that cannot be read keeps the current value.
template <typename T>
class ANamedOption {
public:
    ANamedOption(const char* name, T value) : name_(name), value(std::move(value)) {}
    void Load(AOptionStore& store);
    void Save(AOptionStore& store) const;
    const char* Name() const { return name_; }

private:
    const char* name_;

public:
    T value;
};
using AStringOption = ANamedOption<std::string>;
using AIntOption = ANamedOption<std::int32_t>;
template <> void AStringOption::Load(AOptionStore& store);
template <> void AStringOption::Save(AOptionStore& store) const;
template <> void AIntOption::Load(AOptionStore& store);
template <> void AIntOption::Save(AOptionStore& store) const;

// One bit of the flag words "Flags<bit / 32>"; saving changes only its own bit.
class AFlagOption {
public:
    AFlagOption(std::int8_t bit, bool value) : bit_(bit), value(value) {}
    void Load(AOptionStore& store);
    void Save(AOptionStore& store) const;
    std::int8_t Bit() const { return bit_; }

private:
    std::string WordName() const;
    std::int8_t bit_;

public:
    bool value;
};

enum AFlag : std::int8_t {
    kMinimizeOnClose = 0,
    kMinimizeToTray = 1,
    kRaisedHeaders = 2,
    kDropDownOnRight = 3,
    kImprovedDateRange = 4,
    kExpandedAccountList = 5,
    kHideCommandPanel = 6,
    kShowGroupingField = 7,
    kLinksNotUnderlined = 8,
    kSkipFilterCheck = 9,
    kSaveAfterEveryChange = 10,
    kBoldGroupAccounts = 11,
    kHideClosedAccounts = 12,
    kNoVisualTheme = 13,
    // "Не показывать больше это сообщение" ticked on the question before deleting a currency
    // that has accounts, and on the one for a currency nothing uses.
    kNoCurrencyWithAccountsQuestion = 14,
    kNoUnusedCurrencyQuestion = 15,
    kFlagCount = 16,
};

enum ABackupMode : std::int32_t { kNoBackups = 0, kBackupBesideFile = 1, kBackupToTrash = 2, kBackupToFolder = 3 };

constexpr std::int32_t kDefaultOddLineColor = 0x00EFF7F7;
constexpr std::int32_t kDefaultEvenLineColor = 0x00D9E6E6;

// Holds the store and the values of every setting. Other parts read the options directly;
// the settings dialog edits them and calls SaveAll.
class ASettings {
public:
    explicit ASettings(std::unique_ptr<AOptionStore> store);

    AOptionStore& Store() { return *store_; }
    // The settings dialog disables its pages then; the program runs with what it could read.
    bool IsStoreUnusable() { return store_->IsUnusable(); }

    // At start-up and whenever another copy has saved: loads every option, then applies
    // the range rules.
    void LoadAll();
    // Writes every option, then calls the hook so other running copies reload.
    void SaveAll();
    void SetSavedHook(std::function<void()> hook) { savedHook_ = std::move(hook); }

    bool Flag(AFlag flag) const { return flags_[flag].value; }
    void SetFlag(AFlag flag, bool value) { flags_[flag].value = value; }

    // The language is written the moment it changes, not with the dialog's values.
    void SetLanguage(std::string name);

    AStringOption backupFolder{"BackupFolder", ""};
    AStringOption language{"Language", ""};
    AStringOption exportFileName{"ExportFileName", ""};
    AIntOption backupMode{"BackupMode", kNoBackups};
    AIntOption backupPeriod{"BackupPeriod", 1};
    AIntOption backupVersions{"BackupVersions", 4};
    AIntOption initDupDate{"InitDupDate", 0};
    AIntOption refColor{"RefColor", 0x00FF0000};
    AIntOption oddLineColor{"OddLineColor", kDefaultOddLineColor};
    AIntOption evenLineColor{"EvenLineColor", kDefaultEvenLineColor};

private:
    void ApplyRangeRules();
    void SaveFlagWord();
    template <typename F> void ForEachValueOption(F&& f);

    std::unique_ptr<AOptionStore> store_;
    std::array<AFlagOption, kFlagCount> flags_;
    std::function<void()> savedHook_;
};

}  // namespace UserInterface::Settings
