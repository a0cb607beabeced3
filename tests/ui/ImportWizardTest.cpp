// The import wizard driven through its pages: the pages a document leads to and what Finish
// keeps, the round trip through both wizards against the command-line program, undo, and a
// file that can't be changed.
#include "WizardExchangeSupport.h"

#include "cli/CliRunner.h"
#include "database/Lookups.h"
#include "ui/MainForm.h"
#include "ui/MenuText.h"
#include "ui/exchange/ExportWizard.h"
#include "ui/exchange/ImportWizard.h"

#include <QAccessible>
#include <QAction>

#include <filesystem>

using namespace UserInterface;
using namespace ExchangeWizardTest;

namespace {

constexpr int kRead = 547, kErrors = 549, kReady = 555;

class ImportWizard : public ::testing::Test {
protected:
    ImportWizard() { UiTests::TestApplication(); }
    // Chooses module `row` and the file, and goes on until Next stops; the titles of the pages.
    std::vector<int> Import(ADatabase& db, int row, const std::string& path)
    {
        Exchange::AImportWizard wizard(test.context, db, test.folder.Path());
        AWizardDriver driver(wizard);
        driver.ChooseModule("Модуль импорта:", row);
        driver.TypeFile(path);
        std::vector<int> titles;
        while (wizard.IsButtonEnabled(AWizard::kNext) && titles.size() < 8) {
            driver.Next();
            titles.push_back(driver.TitleId());
            texts.push_back(driver.Texts().toStdString());
        }
        EXPECT_TRUE(wizard.IsButtonEnabled(AWizard::kFinish));
        driver.Finish();
        EXPECT_FALSE(wizard.isVisible());
        return titles;
    }

    UiTests::ATestProgram test;
    std::vector<std::string> texts;  // of the pages Import visited
};

TEST_F(ImportWizard, TheReadLeadsToTheMessagesAndSavesOnlyWhatItAccepted)
{
    const std::string currency = "<currencies><currency><name>Доллар</name><code>USD</code></currency></currencies>";
    const std::string orphan = "<accounts><account><name>Карта</name><currency>EUR</currency></account></accounts>";
    struct ACase {
        const char* name;
        std::string body;
        std::vector<int> titles;
        const char* shown;  // on the last page
        std::size_t currenciesAdded;
    };
    const ACase cases[] = {
        {"an empty document", "", {kRead, kErrors}, "Данные для импорта не обнаружены.", 0},
        {"errors only", orphan, {kRead, kErrors}, "Валюта не найдена.", 0},
        {"clean", currency, {kRead, kReady, kReady}, "Импорт данных завершен.", 1},
        {"accepted with errors", currency + orphan, {kRead, kErrors, kReady, kReady}, "Импорт данных завершен.", 1},
    };
    for (const ACase& c : cases) {
        SCOPED_TRACE(c.name);
        TBooks books;
        const std::string path = test.Path("in.xml");
        WriteTextFile(path, "<?xml version='1.0' encoding='utf-8'?><fendral>" + c.body + "</fendral>");
        const std::string before = DocumentOf(books.db);
        texts.clear();
        EXPECT_EQ(Import(books.db, 0, path), c.titles);
        ASSERT_FALSE(texts.empty());
        EXPECT_NE(texts.back().find(c.shown), std::string::npos) << texts.back();
        EXPECT_EQ(books.db.Currencies().LiveCount(), 1 + c.currenciesAdded);
        if (c.currenciesAdded == 0) {
            EXPECT_EQ(DocumentOf(books.db), before);
        }
    }
}

TEST_F(ImportWizard, BothWizardsMoveTheRecordsAsTheCommandLineProgramDoesAndUndoTakesTheImportBack)
{
    struct ACase {
        const char* format;
        int row;
    };
    for (const ACase& c : {ACase{"xml", 0}, ACase{"xlsx", 1}}) {
        SCOPED_TRACE(c.format);
        const std::string ext = std::string(".") + c.format;
        TExchangeBooks books;
        ASSERT_EQ(books.db.SaveAs(test.Path("books.fend")), Result::kOk);
        {
            Exchange::AExportWizard wizard(test.context, books.db, test.folder.Path());
            AWizardDriver driver(wizard);
            driver.ChooseModule("Модуль экспорта:", c.row);
            driver.TypeFile(test.Path("wizard" + ext));
            while (wizard.IsButtonEnabled(AWizard::kNext))
                driver.Next();
            ASSERT_TRUE(driver.Texts().contains("Данные успешно экспортированы.")) << driver.Texts().toStdString();
        }
        const auto cli = [&](std::vector<std::string> arguments) {
            const ACliRun run = RunProgram(FENDRAL_CLI, arguments, test.folder.Path());
            EXPECT_LE(run.exitCode, 1) << run.err;
        };
        cli({"export", "books.fend", "cli" + ext, "--format", c.format});

        // Into new files: one through the wizard, one through the command-line program.
        TBooks fresh;
        const std::string empty = DocumentOf(fresh.db);
        Import(fresh.db, c.row, test.Path("wizard" + ext));
        ASSERT_EQ(fresh.db.SaveAs(test.Path("wizard.fend")), Result::kOk);
        UiTests::WriteDataFile(test.Path("cli.fend"));
        cli({"import", "cli.fend", "cli" + ext, "--format", c.format});
        cli({"export", "wizard.fend", "wizard-again.xml"});
        cli({"export", "cli.fend", "cli-again.xml"});
        const std::string imported = Records(ReadTextFile(test.Path("wizard-again.xml")));
        EXPECT_NE(imported.find("<name>Карта</name>"), std::string::npos);
        EXPECT_EQ(imported, Records(ReadTextFile(test.Path("cli-again.xml"))));

        EXPECT_EQ(fresh.db.UndoLabel(), u"Импорт данных");
        ASSERT_TRUE(fresh.db.Undo());
        EXPECT_EQ(DocumentOf(fresh.db), empty);
    }
}

TEST_F(ImportWizard, FromTheFileMenuTheSavedImportIsBackedUpFirstWhenTheSettingsSaveEveryChange)
{
    auto& settings = test.context.Options();
    settings.backupMode.value = UserInterface::Settings::kBackupBesideFile;
    settings.backupPeriod.value = 0;
    settings.SetFlag(UserInterface::Settings::kSaveAfterEveryChange, true);
    AMainWindow window{test.context};
    ASSERT_TRUE(window.NewDatabase());
    test.dialogs.saveFile = test.Path("books.fend");
    ASSERT_TRUE(window.SaveAs());
    WriteTextFile(test.Path("in.xml"), "<?xml version='1.0'?><fendral><currencies><currency><name>Доллар</name>"
                                       "<code>USD</code></currency></currencies></fendral>");
    test.dialogs.onModal = [&](QDialog& dialog) {
        AWizardDriver driver(static_cast<AWizard&>(dialog));
        driver.ChooseModule("Модуль импорта:", 0);
        driver.TypeFile(test.Path("in.xml"));
        for (int i = 0; i < 3; ++i)
            driver.Next();
        driver.Finish();
        return dialog.result();
    };
    window.UpdateMenus();
    QAction* import = window.FindAction(Command::kImport);
    ASSERT_TRUE(import->isEnabled());
    import->trigger();
    EXPECT_EQ(test.dialogs.modalCount, 1);
    EXPECT_TRUE(std::filesystem::exists(test.Path("2025-03-15 - Backup of books.fend")));
    ADatabase saved;
    ASSERT_EQ(saved.Open(test.Path("books.fend")), Result::kOk);
    EXPECT_NE(CurrencyByCode(saved, u"USD"), nullptr);
}

TEST_F(ImportWizard, AFileThatCannotBeChangedIsRefusedBeforeAnythingIsRead)
{
    TBooks books;
    ASSERT_EQ(books.db.SaveAs(test.Path("books.fend")), Result::kOk);
    ADatabase second;
    ASSERT_EQ(second.Open(test.Path("books.fend")), Result::kOk);  // the first one holds the file
    ASSERT_TRUE(second.ReadOnly());
    Exchange::RunImportWizard(test.context, second, nullptr);
    EXPECT_EQ(test.dialogs.modalCount, 0);
    EXPECT_EQ(test.dialogs.messages, std::vector<std::u16string>{test.Message(504, {u"books.fend"})});
}

// What a screen reader hears for each control of every page of both wizards.
TEST_F(ImportWizard, EveryControlOfEveryPageIsNamedByItsCaption)
{
    TBooks books;
    Exchange::AExportWizard exporting(test.context, books.db, test.folder.Path());
    Exchange::AImportWizard importing(test.context, books.db, test.folder.Path());
    for (AWizard* wizard : {static_cast<AWizard*>(&exporting), static_cast<AWizard*>(&importing)}) {
        wizard->show();
        QApplication::processEvents();
        for (int step = 0; step < wizard->StepCount(); ++step)
            EXPECT_EQ(UiTests::UnnamedControls(*wizard->Step(step)->Form(), true), std::vector<std::string>()) << step;
    }
}

}  // namespace
