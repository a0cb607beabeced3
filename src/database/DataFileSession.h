// Opening, saving and saving as a data file, the one way both programs do it: what an
// open result means for the user, read-only files refused before anything is touched,
// the backup copy before a save in place, the lock handed over when the open file is
// opened again or saved as under its own name.
#pragma once

#include "core/FormatText.h"
#include "core/MessageRef.h"
#include "core/Result.h"
#include "database/Database.h"
#include "database/DatabaseTexts.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace Database {

enum class AOpenPurpose { Read, Change };

enum class AFileOutcome {
    Done,
    OpenedWithErrors,   // open, with damage counted (message 499)
    PasswordCancelled,  // nothing to tell: the user chose not to open it
    NewerVersion,       // 695
    NotFound,           // 489
    Unreadable,         // 498
    ReadOnly,           // 504: it can't be changed in place
    SaveFailed,         // 641 with the code
};

// What a file operation came to, and the message (if any) that tells the user.
struct AFileReport {
    AFileOutcome outcome = AFileOutcome::Done;
    HRESULT result = Result::kOk;
    int messageId = 0;          // 0: nothing to tell
    std::u16string fileName;    // the file as the user named it
    std::uint32_t number = 0;   // the damage count of 499, the code of 641
    std::optional<AMessageRef> backupMessage;  // a failed backup copy; the save went on

    // The database may be used (opened, or saved).
    bool Succeeded() const { return outcome == AFileOutcome::Done || outcome == AFileOutcome::OpenedWithErrors; }
    // The placeholders of the message; they point into this report.
    std::vector<UtilityClasses::Strings::FormatArg> Args() const;
};

// What opening or saving takes from the program around it.
struct ADataFileHooks {
    // Runs `work` while the user sees its progress; `titleId` is 496 or 497, about `fileName`.
    std::function<HRESULT(ADatabase& db, int titleId, const std::u16string& fileName,
                          const std::function<HRESULT()>& work)>
        withProgress;
    // Makes the backup copy of `path` before it is saved in place, when one is due; a
    // message to show when the copy failed.
    std::function<std::optional<AMessageRef>(const std::string& path)> backupBeforeSave;
};

class ADataFileSession {
public:
    explicit ADataFileSession(ADataFileHooks hooks);

    // Opens `path` (a whole path; `shownName` is how the user named it) into the empty `db`,
    // set up as the program wants (password prompt, code page). `current`, the database open
    // now, gives up its lock first when it holds the same file, so that the file opens for
    // writing again; it then keeps its records but has no file.
    AFileReport Open(ADatabase& db, const std::string& path, const std::u16string& shownName, AOpenPurpose purpose,
                     ADatabase* current = nullptr);
    // Saves in place: refused for a read-only file before any backup is made.
    AFileReport Save(ADatabase& db);
    AFileReport SaveAs(ADatabase& db, const std::string& path, const std::u16string& shownName);

    // What an open result means for the user.
    static AFileReport JudgeOpen(HRESULT result);

private:
    HRESULT WithProgress(ADatabase& db, int titleId, const std::u16string& name, const std::function<HRESULT()>& work);
    static AFileReport SaveReport(HRESULT result);

    ADataFileHooks hooks_;
};

}  // namespace Database
