// The classifiers page: the classifiers of the data file with their plural and singular names,
// and the commands add, change (rename) and delete.
#include "database/CategoryCommands.h"
#include "database/ClassifierCommands.h"
#include "core/TextUtilities.h"
#include "ui/InterfaceTexts.h"
#include "ui/MenuText.h"
#include "ui/PageFactory.h"
#include "ui/ProgramContext.h"
#include "ui/RecordListPage.h"
#include "ui/categories/CategoriesPage.h"
#include "ui/categories/ClassifierDialog.h"
#include "win32api/DynaForm.h"

namespace UserInterface::Categories {

namespace {

using namespace Database;
using namespace Win32API::VelvixControls::Reports;
namespace Message = ClassifierMessage;

using ClassifierText::kPluralTitle, ClassifierText::kSingularTitle;
constexpr int kCountedQuestion = CategoryMessage::kDeleteQuestion;

class AClassifiersPage final : public ARecordListPage {
public:
    AClassifiersPage(const AProgramContext& context, ADatabase& db)
        : ARecordListPage(context, db, false, {AClassifier::kTableId, AString::kTableId})
    {
        // Titled by the dialog's captions, so each column says which of the two names it shows.
        for (int title : {kPluralTitle, kSingularTitle})
            Mode().AddComputedColumn(
                [this, title] { return UtilityClasses::Strings::StripMnemonics(context_.Strings().Text(title)); }, 260,
                title == kSingularTitle);
    }

    bool IsCommandEnabled(int command) const override
    {
        switch (command) {
        case Command::kAdd: return true;
        case Command::kChange:
        case Command::kDelete: return !Focused().IsNull();
        default: return false;
        }
    }

    void RunCommand(int command) override
    {
        if (!IsCommandEnabled(command))
            return;
        switch (command) {
        case Command::kAdd: RunClassifierDialog(Form(), context_, db_, {}); return;
        case Command::kChange: RunClassifierDialog(Form(), context_, db_, Focused()); return;
        case Command::kDelete: DeleteFocused(); return;
        default: return;
        }
    }

protected:
    void Created() override
    {
        connect(Report(), &AReportWindow::Notify, this, [this](int code, bool*) {
            if (code == kNotifyDoubleClick && IsCommandEnabled(Command::kChange))
                RunCommand(Command::kChange);
        });
    }

    void Fill(AReportItemImpl& root) override
    {
        for (auto* slot : db_.Classifiers().Live())
            root.AddChild(std::make_unique<ATextItem>(
                slot->id, std::vector<std::u16string>{db_.Text(slot->Record().plural), db_.Text(slot->Record().singular)}));
    }

private:
    AReference<AClassifier> Focused() const
    {
        const AReportItemImpl* item = Report() ? Report()->Model().FocusedItem() : nullptr;
        auto* slot = item ? db_.Classifiers().Find(item->RecordId()) : nullptr;
        return slot && slot->Exists() ? Engine::ATableImpl<AClassifier>::RefTo(slot) : AReference<AClassifier>();
    }

    // The question counts the transactions that lose the classifier's field when there are
    // any; the plain question otherwise.
    void DeleteFocused()
    {
        const AReference<AClassifier> classifier = Focused();
        const AClassifier& record = *db_.Classifiers().Record(classifier);
        const std::u16string plural = db_.Text(record.plural), singular = db_.Text(record.singular);
        const AClassifierContents contents = ContentsOf(db_, classifier);
        const auto& strings = context_.Strings();
        const std::u16string question =
            contents.transactions ? strings.Format(kCountedQuestion, {plural, contents.transactions, plural, singular, plural})
                                  : strings.Format(Message::kDeleteQuestion, {plural});
        const std::u16string title(strings.Text(Message::kDeleteTitle));
        if (AskToDelete(context_, Form(), question, title))
            DeleteClassifier(db_, classifier, title);
    }
};

}  // namespace

}  // namespace UserInterface::Categories

namespace UserInterface {

std::unique_ptr<AAbstractPage> CreateClassifiersPage(const AProgramContext& context, Database::ADatabase& db)
{
    return std::make_unique<Categories::AClassifiersPage>(context, db);
}

}  // namespace UserInterface
