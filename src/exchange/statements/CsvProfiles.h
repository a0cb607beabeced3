// The CSV mappings the user keeps under names of his own, in the program settings: one bank,
// one profile, chosen once and used for every statement of that bank.
#pragma once
#include "exchange/statements/CsvStatement.h"

#include "core/OptionStore.h"

#include <string>
#include <vector>

namespace ExportImport::Statements {

struct ACsvProfile {
    std::u16string name;
    ACsvMapping mapping;
};

enum class AProfileNameRefusal { None, Empty, TooLong, BadCharacter };

class ACsvProfiles {
public:
    static constexpr std::size_t kMaxProfiles = 64;
    static constexpr std::size_t kMaxNameLength = 60;

    // Reads the profiles kept in `store`; a damaged entry is left out.
    explicit ACsvProfiles(UserInterface::Settings::OptionStorage::AOptionStore& store);

    const std::vector<ACsvProfile>& All() const { return profiles_; }
    const ACsvProfile* Find(std::u16string_view name) const;
    // The profile the CSV module reads with: the one saved or chosen last, else the first.
    const ACsvProfile* Current() const;
    void SetCurrent(std::u16string_view name);

    // Names are trimmed; tabs and line breaks can't be kept in the settings file.
    static AProfileNameRefusal CheckName(std::u16string_view name);
    // Adds the profile or replaces the one of that name, makes it current and writes them all.
    AProfileNameRefusal Save(std::u16string_view name, const ACsvMapping& mapping);
    void Remove(std::u16string_view name);

private:
    // Over `before` entries kept so far.
    void Write(std::size_t before);

    UserInterface::Settings::OptionStorage::AOptionStore& store_;
    std::vector<ACsvProfile> profiles_;
    std::u16string current_;
};

}  // namespace ExportImport::Statements
