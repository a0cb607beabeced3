// The wizards' model: the module chosen first and what refuses the first page, the bar
// across the phases of one run, and what the import's pages say after reading and saving.
#include "ImportTestSupport.h"
#include "ModuleTestSupport.h"

#include "core/SettingsBlobs.h"
#include "core/TempFolder.h"
#include "exchange/workbook/AExcel.h"
#include "exchange/wizard/ImportWizardModel.h"
#include "exchange/import/ImportSources.h"

#include <algorithm>

namespace {

using namespace ImportTest;
using ExportImport::Wizards::AImportWizardModel;
using ExportImport::Wizards::AModuleChoice;
namespace Settings = UserInterface::Settings;

TEST(ExchangeWizardModel, TheModuleUsedLastIsChosenWithItsFileAndTheFirstPageNeedsAFile)
{
    struct ACase {
        const char* name;
        std::optional<AGuid> last;
        int chosen;
        std::u16string typed;
        int refusal;
    };
    const ACase cases[] = {
        {"nothing remembered", std::nullopt, 0, u"", 546},
        {"the workbook module", ToGuid(FileTypeExcel::kImportFromXlsId), 1, u"  ", 546},
        {"a module no longer there", AGuid{1, 2, 3}, 0, u"books.xml", 0},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(c.name);
        TImport import;
        ModuleTest::TMemoryOptionStore store;
        store.strings["fendral:xlsImportFileName"] = "/home/books.xlsx";
        if (c.last)
            Settings::SaveLibraryGuid(store, Settings::ALibraryUse::Import, *c.last);
        AModuleSession session(import.strings, store);
        auto source = CreateImportSource(session, "");
        AModuleChoice<AImportInterface> choice(*source, store, Settings::ALibraryUse::Import, {545, 546});
        EXPECT_EQ(choice.Selected(), c.chosen);
        EXPECT_EQ(choice.FileName(), c.chosen == 1 ? u"/home/books.xlsx" : u"");
        choice.SetFileName(c.typed);
        EXPECT_EQ(choice.LeaveRefusal(), c.refusal);
    }
}

TEST(ExchangeWizardModel, StepsLoadedDuringARunShareOutTheRestOfTheBar)
{
    TImport import;
    ModuleTest::TMemoryOptionStore store;
    ModuleTest::TRecordingDisplay display;
    AModuleSession session(import.strings, store, &display);
    session.BeginRun();
    session.LoadSteps({1, 1});
    session.Notify(100);  // a module that converted its file while opening the stream
    session.LoadSteps({1, 1});
    session.Notify(50);
    session.NextStep();
    session.Notify(100);
    session.EndRun();
    EXPECT_EQ(display.percents, (std::vector<unsigned>{50, 62, 75, 100}));
    session.BeginRun();  // the next run starts from the beginning
    session.Notify(10);
    EXPECT_EQ(display.percents.back(), 10u);
}

TEST(ExchangeWizardModel, TheImportSavesOnlyWhatTheReadAccepted)
{
    struct ACase {
        const char* name;
        std::string document;
        bool read, canSave;
        int readText;
        std::size_t messages;
    };
    const ACase cases[] = {
        {"an empty document", Doc(""), false, false, 777, 1},
        {"a new currency", Doc(Currencies({"USD"})), true, true, 776, 0},
        {"an account without its currency", Doc("<accounts><account>" + AccountRef("Карта", "USD") + "</account></accounts>"),
         true, false, 777, 1},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(c.name);
        TImport import;
        ATempFolder folder;
        WriteTextFile(folder / "in.xml", c.document);
        ModuleTest::TMemoryOptionStore store;
        AModuleSession session(import.strings, store);
        AImportWizardModel model(import.db, session, "");
        model.Modules().SetFileName(U16(folder / "in.xml"));
        EXPECT_EQ(model.Read(), c.read);
        EXPECT_EQ(model.CanSave(), c.canSave);
        EXPECT_EQ(model.ReadOutcome().textId, c.readText);
        EXPECT_EQ(session.Messages().size(), c.messages);
        const std::size_t currencies = import.db.Currencies().LiveCount();
        EXPECT_EQ(Result::Succeeded(model.Save()), c.canSave);
        EXPECT_EQ(model.SaveOutcome().textId, c.canSave ? 562 : 787);
        EXPECT_EQ(import.db.Currencies().LiveCount(), currencies + (c.canSave ? 1 : 0));
        EXPECT_FALSE(model.CanSave());  // a save runs once
    }
}

}  // namespace
