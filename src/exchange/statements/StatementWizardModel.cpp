#include "exchange/statements/StatementWizardModel.h"

#include "core/CodePage.h"
#include "core/RefPtr.h"
#include "core/SettingsBlobs.h"
#include "database/Lookups.h"
#include "exchange/import/ImportTexts.h"
#include "exchange/statements/CategoryRules.h"
#include "exchange/statements/CsvProfiles.h"

#include <algorithm>
#include <array>

namespace ExportImport::Statements {

namespace {

using namespace Database;
using UtilityClasses::Strings::Utf16ToUtf8;
using UtilityClasses::Strings::Utf8ToUtf16;

constexpr int kCannotOpenFile = ImportText::kCannotOpenFile, kRead = ImportText::kReadDone,
              kReadFailed = ImportText::kReadFailed, kImported = ImportText::kImportCompleted,
              kSaveFailed = ImportText::kSaveFailed;
// Statements are a few megabytes at most; a larger file is not one.
constexpr std::size_t kMaxStatementSize = std::size_t{256} << 20;

bool ReadWhole(IStream& stream, std::string& bytes)
{
    std::array<char, 1 << 16> chunk{};
    for (;;) {
        std::uint32_t got = 0;
        if (Result::Failed(stream.Read(chunk.data(), static_cast<std::uint32_t>(chunk.size()), &got)))
            return false;
        if (got == 0)
            return true;
        bytes.append(chunk.data(), got);
        if (bytes.size() > kMaxStatementSize)
            return false;
    }
}

std::u16string CurrencyCode(ADatabase& db, AReference<AAccount> account)
{
    const AAccount* record = db.Accounts().Record(account);
    const ACurrency* currency = record ? db.Currencies().Record(record->currency) : nullptr;
    return currency ? std::u16string(db.Text(currency->code)) : std::u16string();
}

}  // namespace

AStatementWizardModel::AStatementWizardModel(ADatabase& db, AModuleSession& session) : db_(db), session_(session) {}

bool AStatementWizardModel::Read(AImportInterface& module, AStatementFormat format, const std::u16string& fileName,
                                 const AStatementReadOptions& options)
{
    session_.ClearMessages();
    module_ = &module;
    format_ = format;
    read_ = {};
    plan_ = {};  // its lines point into the statement read before
    planned_ = saved_ = opened_ = false;
    account_ = {};
    if (module.UsesFile() && !fileName.empty())
        module.SetFileName(fileName.c_str());
    ARunScope running(session_);
    session_.LoadSteps({1});
    UtilityClasses::ARefPtr<IStream> stream;
    std::string bytes;
    const bool read = Result::Succeeded(module.OpenStream(stream.Out())) && stream &&
                      Result::Succeeded(module.Begin()) && ReadWhole(*stream, bytes);
    stream.Reset();
    if (!read) {
        session_.AddMessage(true, session_.Strings().Format(kCannotOpenFile, {fileName}));
        return false;
    }
    module.End();
    session_.Notify(50);
    // A CSV statement is read with the profile chosen last in the module's settings.
    AStatementReadOptions chosen = options;
    if (format == AStatementFormat::Csv) {
        const ACsvProfiles profiles(session_.Store());
        if (!profiles.Current()) {
            read_.problems.push_back({AProblemKind::NoCsvProfile, 0, {}});
            return false;
        }
        chosen.mapping = profiles.Current()->mapping;
    }
    read_ = ReadStatement(format, bytes, chosen);
    session_.Notify(100);
    opened_ = true;
    if (!HasLines() && read_.problems.empty())
        session_.AddMessage(true, ImportText::kNothingToImport.Resolve(session_.Strings()));
    return HasLines();
}

Wizards::ARunResult AStatementWizardModel::ReadOutcome() const
{
    const bool clean = opened_ && HasLines() && read_.Ok() && session_.Clean();
    return {clean ? kRead : kReadFailed, clean};
}

std::string AStatementWizardModel::MemoryName() const
{
    std::string key;
    for (char c : read_.statement.accountId)
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            key += static_cast<char>(c >= 'a' ? c - 32 : c);
    // A statement that names no account (QIF, CSV) has one per format.
    return "StatementAccount:" + (key.empty() ? std::string(StatementFormatName(format_)) : key);
}

AReference<AAccount> AStatementWizardModel::RememberedAccount()
{
    std::string remembered;
    if (!session_.Store().ReadString(MemoryName(), remembered))
        return {};
    const std::size_t at = remembered.rfind('@');
    if (at == std::string::npos)
        return {};
    const auto found = AccountsNamed(db_, Utf8ToUtf16(remembered.substr(0, at)), Utf8ToUtf16(remembered.substr(at + 1)));
    return found.empty() ? AReference<AAccount>() : found.front();
}

AAccountRefusal AStatementWizardModel::Refusal(AReference<AAccount> account)
{
    if (account.IsNull() || !db_.Accounts().Record(account))
        return AAccountRefusal::NoAccount;
    return StatementFitsAccount(read_.statement, Utf16ToUtf8(CurrencyCode(db_, account))) ? AAccountRefusal::None
                                                                                          : AAccountRefusal::OtherCurrency;
}

void AStatementWizardModel::Plan(AReference<AAccount> account)
{
    account_ = account;
    options_ = {};
    options_.referenceComment = ReferenceCommentOf(db_);
    options_.rules = ACategoryRules(session_.Store()).Resolve(db_);
    plan_ = PlanStatement(db_, account, read_.statement, options_);
    planned_ = true;
    saved_ = false;
}

void AStatementWizardModel::SetCategory(std::size_t index, AReference<AClassifier> classifier,
                                        AReference<ACategory> category)
{
    if (index >= plan_.lines.size())
        return;
    auto& categories = plan_.lines[index].categories;
    std::erase_if(categories, [&](AReference<ACategory> kept) {
        const auto* slot = ClassifierOf(db_, kept);
        return slot && Engine::ATableImpl<AClassifier>::RefTo(slot) == classifier;
    });
    if (!category.IsNull())
        categories.push_back(category);
}

AReference<ACategory> AStatementWizardModel::CategoryOf(std::size_t index, AReference<AClassifier> classifier)
{
    if (index < plan_.lines.size())
        for (AReference<ACategory> category : plan_.lines[index].categories)
            if (const auto* slot = ClassifierOf(db_, category); slot && Engine::ATableImpl<AClassifier>::RefTo(slot) == classifier)
                return category;
    return {};
}

bool AStatementWizardModel::Save()
{
    if (!CanSave())
        return false;
    {
        ARunScope running(session_);
        SaveStatement(db_, account_, plan_, options_, session_.Strings().Text(ImportText::kImportCaption));
    }
    saved_ = true;
    const AAccount* record = db_.Accounts().Record(account_);
    if (record)
        session_.Store().WriteString(MemoryName(), Utf16ToUtf8(db_.Text(record->name)) + "@" +
                                                        Utf16ToUtf8(CurrencyCode(db_, account_)));
    if (const AModuleGuid* id = module_ ? module_->GetId() : nullptr)
        UserInterface::Settings::SaveLibraryGuid(session_.Store(), UserInterface::Settings::ALibraryUse::Import, ToGuid(*id));
    return true;
}

Wizards::ARunResult AStatementWizardModel::SaveOutcome() const
{
    return {saved_ ? kImported : kSaveFailed, saved_};
}

}  // namespace ExportImport::Statements
