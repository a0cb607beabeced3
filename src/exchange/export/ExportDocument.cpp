#include "exchange/export/ExportDocument.h"

#include "core/Version.h"
#include "database/StepView.h"
#include "exchange/export/ExportTransactions.h"
#include "exchange/xml/xmlBuild.h"
#include "exchange/xml/xmlWriter.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace ExportImport {

namespace XML = UtilityClasses::XML;
using namespace Private;

namespace {

constexpr int kCaptionCurrencies = RecordKindText::kCurrencies;
constexpr int kCaptionRates = RecordKindText::kRates;
constexpr int kCaptionAccounts = RecordKindText::kAccounts;
constexpr int kCaptionClassifiers = RecordKindText::kClassifiers;
constexpr int kCaptionTransactions = RecordKindText::kTransactions;
constexpr int kFolderParentIndex = 2;

// Moves the bar one record at a time over the first step, telling only whole percents.
class ARecordProgress {
public:
    ARecordProgress(AExchangeProgress* progress, std::uint64_t total) : progress_(progress), total_(total) {}

    void Advance()
    {
        if (!progress_ || total_ == 0)
            return;
        ++done_;
        const auto percent = static_cast<unsigned>(std::min<std::uint64_t>(done_ * 100 / total_, 100));
        if (percent != reported_) {
            reported_ = percent;
            progress_->Notify(percent);
        }
    }

private:
    AExchangeProgress* progress_;
    std::uint64_t total_;
    std::uint64_t done_ = 0;
    unsigned reported_ = 0;
};

class ADocumentBuilder {
public:
    ADocumentBuilder(ADatabase& db, const AExportSelection& selection, const AExportEnvironment& environment)
        : db_(db), selection_(selection), environment_(environment), writers_(db, maker_)
    {
        if (const auto* settings = FirstLive(db.Settings(), [](const ADBSettings&) { return true; }))
            features_ = settings->Record();
        if (selection.transactions)
            transactions_ = SelectTransactions(db, selection);
    }

    std::unique_ptr<XML::ADocument> Build()
    {
        ARecordProgress progress(environment_.progress, LoadSteps());
        auto document = std::make_unique<XML::ADocument>();
        XML::AddXmlDeclaration(*document);
        AElement* root = maker_.Element(*document, "fendral");
        ExportOptions(*root);
        if (Caption(selection_.currencies, kCaptionCurrencies))
            Currencies(*root, progress);
        if (Caption(selection_.rates, kCaptionRates))
            Rates(*root, progress);
        if (Caption(selection_.accounts, kCaptionAccounts)) {
            Accounts(*root, progress);
            AccountPlans(*root);
        }
        if (Caption(selection_.classifiers, kCaptionClassifiers))
            Classifiers(*root, progress);
        if (Caption(selection_.transactions, kCaptionTransactions))
            Transactions(*root, progress);
        return document;
    }

private:
    // The records that will be written; the steps are weighted by it, a quarter and a fifth.
    std::uint64_t LoadSteps()
    {
        std::uint64_t count = transactions_.size();
        if (selection_.currencies)
            count += db_.Currencies().LiveCount();
        if (selection_.rates)
            count += db_.RateValues().LiveCount();
        if (selection_.accounts)
            count += db_.Accounts().LiveCount();
        if (environment_.progress) {
            const auto weight = static_cast<unsigned>(std::min<std::uint64_t>(count, 1u << 24));
            environment_.progress->LoadSteps({weight, weight / 4, weight / 5});
        }
        return count;
    }

    bool Caption(bool selected, int id)
    {
        if (selected && environment_.progress && environment_.strings)
            environment_.progress->SetCaption(environment_.strings->Text(id));
        return selected;
    }

    void ExportOptions(AElement& root)
    {
        AElement* options = maker_.Element(root, "export-options");
        maker_.Value(*options, "module", ModuleIdText(selection_.module));
        maker_.Value(*options, "program-build", IntegerText(Version::kBuild));
        const Dates::ALocalTime now = environment_.clock();
        maker_.Value(*options, "export-date", TimestampText(now.date, now.milliseconds));
        maker_.Flag(*options, "account-folders", features_.accountFolders != 0);
        maker_.Flag(*options, "budget-date", features_.budgetDates != 0);
        maker_.Flag(*options, "quantity", features_.quantities != 0);
        maker_.Flag(*options, "time", features_.times != 0);
        for (int field = 0; field < 4; ++field) {
            if (!features_.extraCommentInUse[field])
                continue;
            AElement* extra = maker_.Value(*options, "extra-comment", db_.Text(features_.extraCommentCaption[field]));
            XML::SetAttribute(*extra, "n", IntegerText(static_cast<std::uint64_t>(field + 1)));
        }
        maker_.Flag(*options, "account-plans", features_.accountPlans != 0);
    }

    // A section of every live record of a table, in identifier order; none for an empty table.
    template <class T, class Write>
    void Section(AElement& root, std::string_view name, Engine::ATableImpl<T>& table, ARecordProgress& progress,
                 Write write)
    {
        if (table.LiveCount() == 0)
            return;
        AElement* section = maker_.Element(root, name);
        for (const auto* slot : table.Live()) {
            write(*section, slot->Record());
            progress.Advance();
        }
    }

    void Currencies(AElement& root, ARecordProgress& progress)
    {
        Section(root, "currencies", db_.Currencies(), progress,
                [&](AElement& section, const ACurrency& currency) { writers_.Currency(section, currency); });
    }

    void Rates(AElement& root, ARecordProgress& progress)
    {
        Section(root, "rates", db_.RateValues(), progress,
                [&](AElement& section, const ARateValue& rate) { writers_.Rate(section, rate); });
    }

    void Accounts(AElement& root, ARecordProgress& progress)
    {
        Section(root, "accounts", db_.Accounts(), progress,
                [&](AElement& section, const AAccount& account) { writers_.Account(section, account); });
    }

    void AccountPlans(AElement& root)
    {
        if (!features_.accountFolders || db_.Folders().LiveCount() == 0)
            return;
        AElement* section = maker_.Element(root, "account-plans");
        const AAccountFolder topProbe;  // no parent
        for (const auto* plan : db_.Folders().EqualRange(kFolderParentIndex, topProbe))
            writers_.Folder(*section, *plan, "account-plan");
    }

    void Classifiers(AElement& root, ARecordProgress& progress)
    {
        AElement* section = nullptr;
        std::vector<AReference<AClassifier>> written;
        for (const AReference<AClassifier> ref : selection_.classifierList) {
            const AClassifier* classifier = db_.Classifiers().Record(ref);
            // A classifier listed twice would be refused by the import as a duplicate.
            if (!classifier || std::find(written.begin(), written.end(), ref) != written.end())
                continue;
            written.push_back(ref);
            if (!section)
                section = maker_.Element(root, "classifiers");
            writers_.Classifier(*section, *classifier);
            progress.Advance();
        }
    }

    void Transactions(AElement& root, ARecordProgress& progress)
    {
        if (transactions_.empty())
            return;
        AElement* section = maker_.Element(root, "transactions");
        ATransactionWriter writer(db_, maker_, writers_, features_);
        for (const auto* slot : transactions_) {
            writer.Write(*section, *slot);
            progress.Advance();
        }
    }

    ADatabase& db_;
    const AExportSelection& selection_;
    const AExportEnvironment& environment_;
    ANodeMaker maker_;  // before the writers, which use it
    ARecordWriters writers_;
    ADBSettings features_;
    std::vector<const Engine::ASlot<ATransaction>*> transactions_;
};

}  // namespace

std::unique_ptr<XML::ADocument> BuildExportDocument(ADatabase& db, const AExportSelection& selection,
                                                     const AExportEnvironment& environment)
{
    return ADocumentBuilder(db, selection, environment).Build();
}

HRESULT ExportDocument(ADatabase& db, const AExportSelection& selection, const AExportEnvironment& environment,
                       IStream* stream)
{
    if (!stream)
        return Result::kInvalidArg;
    const auto document = BuildExportDocument(db, selection, environment);
    if (environment.progress)
        environment.progress->NextStep();
    const HRESULT hr = XML::WriteDocument(*document, stream, environment.progress);
    if (environment.progress)
        environment.progress->NextStep();
    return hr;
}

}  // namespace ExportImport
