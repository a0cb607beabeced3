#include "core/Settings.h"

#include "core/Assert.h"

#include <utility>

namespace UserInterface::Settings {

namespace {

template <std::size_t... I>
std::array<AFlagOption, sizeof...(I)> DefaultFlags(std::index_sequence<I...>)
{
    return {AFlagOption(static_cast<std::int8_t>(I), I == kRaisedHeaders)...};
}

}  // namespace

template <>
void AStringOption::Load(AOptionStore& store)
{
    if (!store.ReadString(name_, value))
        value.clear();
}

template <>
void AStringOption::Save(AOptionStore& store) const
{
    store.WriteString(name_, value);
}

template <>
void AIntOption::Load(AOptionStore& store)
{
    store.ReadInt(name_, value);
}

template <>
void AIntOption::Save(AOptionStore& store) const
{
    store.WriteInt(name_, value);
}

std::string AFlagOption::WordName() const { return "Flags" + std::to_string(bit_ / 32); }

void AFlagOption::Load(AOptionStore& store)
{
    std::int32_t word = 0;
    if (store.ReadInt(WordName(), word))
        value = (static_cast<std::uint32_t>(word) >> (bit_ % 32)) & 1u;
}

void AFlagOption::Save(AOptionStore& store) const
{
    // Read-modify-write keeps bits this version does not know about.
    std::int32_t word = 0;
    if (!store.ReadInt(WordName(), word))
        word = 0;
    const std::uint32_t mask = 1u << (bit_ % 32);
    const std::uint32_t bits = value ? static_cast<std::uint32_t>(word) | mask : static_cast<std::uint32_t>(word) & ~mask;
    store.WriteInt(WordName(), static_cast<std::int32_t>(bits));
}

ASettings::ASettings(std::unique_ptr<AOptionStore> store)
    : store_(std::move(store)), flags_(DefaultFlags(std::make_index_sequence<kFlagCount>()))
{
    FD_VERIFY(store_ != nullptr);
}

template <typename F>
void ASettings::ForEachValueOption(F&& f)
{
    for (AStringOption* option : {&backupFolder, &language, &exportFileName})
        f(*option);
    for (AIntOption* option : {&backupMode, &backupPeriod, &backupVersions, &initDupDate, &refColor,
                               &oddLineColor, &evenLineColor})
        f(*option);
}

void ASettings::SaveFlagWord()
{
    // The flags share one word: one read-modify-write for all of them, keeping the bits
    // this version does not know about.
    static_assert(kFlagCount <= 32);
    std::int32_t stored = 0;
    if (!store_->ReadInt("Flags0", stored))
        stored = 0;
    auto word = static_cast<std::uint32_t>(stored);
    for (const AFlagOption& flag : flags_)
        word = flag.value ? word | (1u << flag.Bit()) : word & ~(1u << flag.Bit());
    store_->WriteInt("Flags0", static_cast<std::int32_t>(word));
}

void ASettings::LoadAll()
{
    ForEachValueOption([this](auto& option) { option.Load(*store_); });
    for (AFlagOption& flag : flags_)
        flag.Load(*store_);
    ApplyRangeRules();
}

void ASettings::SaveAll()
{
    ForEachValueOption([this](auto& option) { option.Save(*store_); });
    SaveFlagWord();
    if (savedHook_)
        savedHook_();
}

void ASettings::SetLanguage(std::string name)
{
    language.value = std::move(name);
    language.Save(*store_);
}

void ASettings::ApplyRangeRules()
{
    if (backupMode.value < kNoBackups || backupMode.value > kBackupToFolder)
        backupMode.value = kNoBackups;
    if (backupPeriod.value < 0 || backupPeriod.value > 3)
        backupPeriod.value = 1;
    // Compared unsigned, so a negative count is out of range too; 0 is left for the
    // dialog to refuse.
    if (static_cast<std::uint32_t>(backupVersions.value) > 9)
        backupVersions.value = 4;
    if (initDupDate.value < 0 || initDupDate.value > 1)
        initDupDate.value = 0;
}

}  // namespace UserInterface::Settings
