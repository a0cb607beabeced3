#include "exchange/statements/CsvProfiles.h"

#include "core/CodePage.h"
#include "exchange/statements/NumberedSettings.h"

namespace ExportImport::Statements {

namespace {

using UtilityClasses::Strings::Utf16ToUtf8;
using UtilityClasses::Strings::Utf8ToUtf16;

// "StatementCsvProfiles" holds the count, "StatementCsvProfile<n>" the name, a tab and the
// mapping text (a tab separator comes after the name's tab, so the first one splits).
constexpr std::string_view kCount = "StatementCsvProfiles", kCurrent = "StatementCsvProfile";

std::u16string_view Trimmed(std::u16string_view name)
{
    while (!name.empty() && name.front() == u' ')
        name.remove_prefix(1);
    while (!name.empty() && name.back() == u' ')
        name.remove_suffix(1);
    return name;
}

}  // namespace

ACsvProfiles::ACsvProfiles(UserInterface::Settings::OptionStorage::AOptionStore& store) : store_(store)
{
    for (const std::string& entry : ReadNumberedEntries(store_, kCount, kCurrent, kMaxProfiles)) {
        const std::size_t tab = entry.find('\t');
        const auto mapping = tab == std::string::npos ? std::nullopt : ParseCsvMapping(entry.substr(tab + 1));
        const std::u16string name = Utf8ToUtf16(entry.substr(0, tab == std::string::npos ? 0 : tab));
        if (mapping && CheckName(name) == AProfileNameRefusal::None && !Find(name))
            profiles_.push_back({name, *mapping});
    }
    std::string current;
    if (store_.ReadString(kCurrent, current))
        current_ = Utf8ToUtf16(current);
}

const ACsvProfile* ACsvProfiles::Find(std::u16string_view name) const
{
    name = Trimmed(name);
    for (const ACsvProfile& profile : profiles_)
        if (profile.name == name)
            return &profile;
    return nullptr;
}

const ACsvProfile* ACsvProfiles::Current() const
{
    const ACsvProfile* current = Find(current_);
    return current || profiles_.empty() ? current : &profiles_.front();
}

void ACsvProfiles::SetCurrent(std::u16string_view name)
{
    current_ = Trimmed(name);
    store_.WriteString(kCurrent, Utf16ToUtf8(current_));
}

AProfileNameRefusal ACsvProfiles::CheckName(std::u16string_view name)
{
    name = Trimmed(name);
    if (name.empty())
        return AProfileNameRefusal::Empty;
    if (name.size() > kMaxNameLength)
        return AProfileNameRefusal::TooLong;
    for (char16_t c : name)
        if (c < u' ')
            return AProfileNameRefusal::BadCharacter;
    return AProfileNameRefusal::None;
}

AProfileNameRefusal ACsvProfiles::Save(std::u16string_view name, const ACsvMapping& mapping)
{
    if (const AProfileNameRefusal refusal = CheckName(name); refusal != AProfileNameRefusal::None)
        return refusal;
    name = Trimmed(name);
    if (const ACsvProfile* found = Find(name))
        profiles_[static_cast<std::size_t>(found - profiles_.data())].mapping = mapping;
    else if (profiles_.size() < kMaxProfiles)
        profiles_.push_back({std::u16string(name), mapping});
    else
        profiles_.back() = {std::u16string(name), mapping};  // the oldest kept, the newest wins the last place
    Write(profiles_.size());
    SetCurrent(name);
    return AProfileNameRefusal::None;
}

void ACsvProfiles::Remove(std::u16string_view name)
{
    const ACsvProfile* found = Find(name);
    if (!found)
        return;
    profiles_.erase(profiles_.begin() + (found - profiles_.data()));
    Write(profiles_.size() + 1);
}

void ACsvProfiles::Write(std::size_t before)
{
    std::vector<std::string> entries;
    for (const ACsvProfile& profile : profiles_)
        entries.push_back(Utf16ToUtf8(profile.name) + '\t' + CsvMappingText(profile.mapping));
    WriteNumberedEntries(store_, kCount, kCurrent, entries, before);
}

}  // namespace ExportImport::Statements
