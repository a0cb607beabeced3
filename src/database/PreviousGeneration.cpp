// Data files of the previous generation ("FendBase"): converted when they are opened.
#include "database/Database.h"
#include "database/Password.h"
#include "database/PreviousGenerationConvert.h"

namespace Database {

HRESULT ADatabase::OpenPreviousGeneration(const std::string& path)
{
    PreviousGeneration::AOldData data;
    {
        std::vector<std::uint8_t> bytes;
        if (HRESULT hr = PreviousGeneration::ReadOldFile(path, bytes); Result::Failed(hr))
            return hr;
        // The whole file is checked before anything is asked or made: a damaged
        // file is refused without a password prompt and without a half-made database.
        if (HRESULT hr = PreviousGeneration::ParseOldFile(bytes, textCodePage_, data, &Progress()); Result::Failed(hr))
            return hr;
    }
    std::u16string password;
    if (data.passwordCheck != 0) {
        const auto typed = AskPassword(PasswordPrompt(), path, [&](const std::u16string& text) {
            return PasswordCheckValue(text) == data.passwordCheck;
        });
        if (!typed)
            return Result::kPasswordCancelled;
        password = *typed;
    }
    CreateDefaults({.genuine = false, .password = password, .times = true, .withPages = false});
    PreviousGeneration::ConvertInto(*this, data);
    // Nothing is written back in the old format: the user saves under a new name.
    MarkReadOnly();
    return Result::kOk;
}

}  // namespace Database
