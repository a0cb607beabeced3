// Dated backup copies of the data file, made before it is saved over itself.
#pragma once
#include "core/ADate.h"
#include "core/MessageRef.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Files {
class AFileSystem;
class ATrash;
}  // namespace Files
namespace UserInterface::Settings { class ASettings; }

namespace Database::Engine {

struct ABackupOptions {
    std::int32_t mode = 0;      // 0 none, 1 beside the data file, 2 the Trash, 3 `folder`
    std::int32_t period = 1;    // 0 daily, 1 every three days, 2 weekly, 3 monthly
    std::uint32_t versions = 4; // copies kept in modes 1 and 3
    std::string folder;         // relative to the program's folder unless absolute
};

ABackupOptions BackupOptionsFrom(const UserInterface::Settings::ASettings& settings);

enum class ASaveKind { InPlace, SaveAs };

// "YYYY-MM-DD - Backup of <data file name with its extension>".
std::string BackupName(ADate today, std::string_view dataFileName);
// The date of a backup of `dataFileName`; none for any other name.
std::optional<ADate> BackupDateOf(std::string_view name, std::string_view dataFileName);
// Days that must be exceeded since the last copy; the monthly period is the length of the
// month of the last copy (30 when there is none).
int BackupPeriodDays(std::int32_t period, std::optional<ADate> lastBackup);
bool IsBackupDue(std::int32_t period, std::optional<ADate> lastBackup, ADate today);
// The message for a failed copy, chosen by its errno.
AMessageRef BackupFailureMessage(int error);

class ABackupCopies {
public:
    ABackupCopies(Files::AFileSystem& fs, Files::ATrash& trash, std::string programFolder, AClock clock);

    // Makes a copy of `dataFile` as it is on disk when one is due and prunes old copies.
    // The answer is a message to show; the save goes on whatever happened here. A database
    // that was never saved (no path, or no file yet) and Save as make no copy.
    std::optional<AMessageRef> BeforeSave(const ABackupOptions& options, const std::string& dataFile,
                                          ASaveKind kind);

private:
    Files::AFileSystem& fs_;
    Files::ATrash& trash_;
    std::string programFolder_;
    AClock clock_;
};

}  // namespace Database::Engine
