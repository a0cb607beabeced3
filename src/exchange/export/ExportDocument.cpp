#include "exchange/export/ExportDocument.h"

#include "core/Version.h"
#include "database/DatabaseTexts.h"
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

constexpr int kCaptionCurrencies = Database::RecordKindText::kCurrencies;
constexpr int kCaptionRates = Database::RecordKindText::kRates;
constexpr int kCaptionAccounts = Database::RecordKindText::kAccounts;
constexpr int kCaptionClassifiers = Database::RecordKindText::kClassifiers;
constexpr int kCaptionTransactions = Database::RecordKindText::kTransactions;
constexpr int kFolderParentIndex = 2;

// Moves the bar one record at a time over the first two steps, building and writing,
// which go together record by record (their weights are four to one), telling only
// whole percents.
class ARecordProgress {
public:
    ARecordProgress(AExchangeProgress* progress, std::uint64_t total)
        : progress_(progress), total_(total), firstStepEnd_(total * 4 / 5)
    {
    }

    void Advance()
    {
        if (!progress_ || total_ == 0)
            return;
        ++done_;
        if (!onWritingStep_ && done_ > firstStepEnd_)
            EnterWritingStep();
        const std::uint64_t begin = onWritingStep_ ? firstStepEnd_ : 0;
        const std::uint64_t end = onWritingStep_ ? total_ : firstStepEnd_;
        const auto percent = static_cast<unsigned>(std::min<std::uint64_t>((done_ - begin) * 100 / (end - begin), 100));
        if (percent != reported_) {
            reported_ = percent;
            progress_->Notify(percent);
        }
    }

    // Leaves the bar at the end of the writing step.
    void Finish()
    {
        if (progress_ && !onWritingStep_)
            EnterWritingStep();
    }

private:
    void EnterWritingStep()
    {
        progress_->NextStep();
        onWritingStep_ = true;
        reported_ = 0;
    }

    AExchangeProgress* progress_;
    std::uint64_t total_;
    std::uint64_t firstStepEnd_;
    bool onWritingStep_ = false;
    std::uint64_t done_ = 0;
    unsigned reported_ = 0;
};

class ADocumentWriter {
public:
    ADocumentWriter(ADatabase& db, const AExportSelection& selection, const AExportEnvironment& environment)
        : db_(db), selection_(selection), environment_(environment), writers_(db, maker_)
    {
        if (const auto* settings = FirstLive(db.Settings(), [](const ADBSettings&) { return true; }))
            features_ = settings->Record();
        if (selection.transactions)
            transactions_ = SelectTransactions(db, selection);
    }

    // The document is written as it is made: each record's element goes out and is dropped
    // as soon as it is complete, so the memory taken is that of one record, not of the
    // document. The elements that stay open while their children go out are not taken
    // from the maker's arena, which is thus emptied and reused record by record.
    HRESULT Write(IStream* stream)
    {
        XML::AStreamWriterVisitor writer(stream);
        out_ = &writer;
        XML::ADocument prolog;
        XML::AddXmlDeclaration(prolog)->Accept(writer);
        XML::AElement root("fendral");
        writer.OpenElement(root);
        ARecordProgress progress(environment_.progress, LoadSteps());
        Compose(root, progress);
        progress.Finish();
        writer.CloseElement(root);
        out_ = nullptr;
        return writer.Flush();
    }

private:
    void Compose(AElement& root, ARecordProgress& progress)
    {
        ExportOptions(root);
        WriteOut(root);
        if (Caption(selection_.currencies, kCaptionCurrencies))
            Currencies(progress);
        if (Caption(selection_.rates, kCaptionRates))
            Rates(progress);
        if (Caption(selection_.accounts, kCaptionAccounts)) {
            Accounts(progress);
            AccountPlans(root);
            WriteOut(root);
        }
        if (Caption(selection_.classifiers, kCaptionClassifiers))
            Classifiers(progress);
        if (Caption(selection_.transactions, kCaptionTransactions))
            Transactions(progress);
    }

    // A section whose records follow one by one.
    AElement* OpenSection(std::string_view name)
    {
        openSection_ = std::make_unique<AElement>(std::string(name));
        sectionStarted_ = false;
        return openSection_.get();
    }

    // Writes the complete children of the container and drops them.
    void WriteOut(AElement& container)
    {
        if (!container.HasChildren())
            return;
        if (&container == openSection_.get() && !sectionStarted_) {
            out_->OpenElement(container);
            sectionStarted_ = true;
        }
        while (XML::ANode* child = container.FirstChild())
            container.Remove(child)->Accept(*out_);
    }

    void CloseSection(AElement* section)
    {
        if (!section)
            return;
        if (sectionStarted_)
            out_->CloseElement(*section);
        else
            section->Accept(*out_);  // one empty element
        openSection_.reset();
    }

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
    void Section(std::string_view name, Engine::ATableImpl<T>& table, ARecordProgress& progress,
                 Write write)
    {
        if (table.LiveCount() == 0)
            return;
        AElement* section = OpenSection(name);
        for (const auto* slot : table.Live()) {
            write(*section, slot->Record());
            WriteOut(*section);
            progress.Advance();
        }
        CloseSection(section);
    }

    void Currencies(ARecordProgress& progress)
    {
        Section("currencies", db_.Currencies(), progress,
                [&](AElement& section, const ACurrency& currency) { writers_.Currency(section, currency); });
    }

    void Rates(ARecordProgress& progress)
    {
        Section("rates", db_.RateValues(), progress,
                [&](AElement& section, const ARateValue& rate) { writers_.Rate(section, rate); });
    }

    void Accounts(ARecordProgress& progress)
    {
        Section("accounts", db_.Accounts(), progress,
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

    void Classifiers(ARecordProgress& progress)
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
                section = OpenSection("classifiers");
            writers_.Classifier(*section, *classifier);
            WriteOut(*section);
            progress.Advance();
        }
        CloseSection(section);
    }

    void Transactions(ARecordProgress& progress)
    {
        if (transactions_.empty())
            return;
        AElement* section = OpenSection("transactions");
        ATransactionWriter writer(db_, maker_, writers_, features_);
        for (const auto* slot : transactions_) {
            writer.Write(*section, *slot);
            WriteOut(*section);
            progress.Advance();
        }
        CloseSection(section);
    }

    ADatabase& db_;
    const AExportSelection& selection_;
    const AExportEnvironment& environment_;
    ANodeMaker maker_;  // before the writers, which use it
    ARecordWriters writers_;
    ADBSettings features_;
    std::vector<const Engine::ASlot<ATransaction>*> transactions_;
    XML::AStreamWriterVisitor* out_ = nullptr;  // set while writing
    std::unique_ptr<AElement> openSection_;
    bool sectionStarted_ = false;
};

}  // namespace

HRESULT ExportDocument(ADatabase& db, const AExportSelection& selection, const AExportEnvironment& environment,
                       IStream* stream)
{
    if (!stream)
        return Result::kInvalidArg;
    const HRESULT hr = ADocumentWriter(db, selection, environment).Write(stream);
    if (environment.progress)
        environment.progress->NextStep();
    return hr;
}

}  // namespace ExportImport
