// fendral-cli import, run as a process on temporary files.
#include "cli/CliTestFiles.h"
#include "database/OldFileSample.h"

#include <cstdlib>
#include <filesystem>

using namespace CliTest;

namespace {

const std::string kHeader = "<?xml version='1.0' encoding='utf-8' standalone='yes'?><fendral>";

// Two currencies (the rouble with another name than the data file's), an account and an
// expense from it; one account refers to an unknown currency.
const std::string kWithMessages =
    kHeader +
    "<currencies><currency><name>Рубли</name><code>RUR</code></currency>"
    "<currency><name>Dollar</name><code>USD</code></currency></currencies>"
    "<accounts><account><name>Card</name><currency>USD</currency><init-balance>10</init-balance></account>"
    "<account><name>Lost</name><currency>XXX</currency></account></accounts>"
    "<transactions><transaction><date>2021-05-01</date><expense><executed/><expense-account><name>Card</name>"
    "<currency>USD</currency></expense-account><expense-amount>-2.5</expense-amount></expense>"
    "<comment>coffee</comment></transaction></transactions></fendral>";

const std::string kClean =
    kHeader +
    "<currencies><currency><name>Dollar</name><code>USD</code></currency></currencies>"
    "<accounts><account><name>Card</name><currency>USD</currency></account></accounts></fendral>";

class CliImport : public ACliTest {
protected:
    void SetUp() override
    {
        ASSERT_EQ(Run({"new", "books.fend"}).exitCode, 0);
        WriteTextFile(Path("messages.xml"), kWithMessages);
        WriteTextFile(Path("clean.xml"), kClean);
    }
    // The settings go to the test's folder, not to the user's.
    ACliRun Import(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), "import");
        return Run(arguments, {"HOME=" + folder.Path(), "XDG_CONFIG_HOME=" + folder.Path() + "/config"});
    }
    // "book.xlsx" with one sheet of the given title and rows, written by openpyxl as a
    // spreadsheet program would write it.
    void WriteWorkbook(const std::string& title, const std::string& rows) const
    {
        const std::string script = "import openpyxl, sys\n"
                                   "book = openpyxl.Workbook()\n"
                                   "sheet = book.active\n"
                                   "sheet.title = '" + title + "'\n"
                                   "for row in [" + rows + "]:\n"
                                   "    sheet.append(row)\n"
                                   "book.save(sys.argv[1])\n";
        WriteTextFile(Path("make.py"), script);
        const std::string command = std::string(FENDRAL_PYTHON) + " " + Path("make.py") + " " + Path("book.xlsx");
        ASSERT_EQ(std::system(command.c_str()), 0);
    }
};

TEST_F(CliImport, PrintsTheMessagesSavesWhatWasAcceptedAndExitsWithThree)
{
    const ACliRun run = Import({"books.fend", "messages.xml"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_EQ(run.err,
              "Предупреждение: Импортируемая валюта имеет название,\nотличное от уже существующего в файле данных.\n"
              "Новое название будет проигрорировано.\n"
              "Ошибка: Валюта не найдена.\n");
    EXPECT_EQ(run.out, ExpectedMessage(562, {}));

    ADatabase db;
    ASSERT_EQ(db.Open(Path("books.fend")), Result::kOk);
    EXPECT_EQ(db.Currencies().LiveCount(), 2u);
    EXPECT_EQ(db.Accounts().LiveCount(), 2u);
    ASSERT_EQ(db.Transactions().LiveCount(), 1u);
    const auto& expense = db.Transactions().Live().front()->Record();
    EXPECT_EQ(db.Text(expense.comment), u"coffee");
    EXPECT_EQ(expense.balance1, 75'000);  // the balance was recalculated: 10 - 2.5
    EXPECT_EQ(db.UndoLabel(), std::nullopt);  // a saved file has no history
    // The module remembered its file in the settings.
    EXPECT_NE(ReadTextFile(Path("config/VelvixSoft/Fendral.conf")).find("xmlImportFileName"), std::string::npos);
}

TEST_F(CliImport, ACleanImportExitsWithZero)
{
    const ACliRun run = Import({"books.fend", "clean.xml"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    std::vector<std::size_t> counts;
    {
        ADatabase db;  // closed again before the next run, whose save its lock would refuse
        ASSERT_EQ(db.Open(Path("books.fend")), Result::kOk);
        EXPECT_EQ(db.Accounts().LiveCount(), 2u);
        counts = LiveCounts(db);
    }
    // Importing the same document again adds nothing.
    EXPECT_EQ(Import({"books.fend", "clean.xml"}).exitCode, 0);
    ADatabase again;
    ASSERT_EQ(again.Open(Path("books.fend")), Result::kOk);
    EXPECT_EQ(LiveCounts(again), counts);
}

TEST_F(CliImport, ADryRunLeavesTheFileByteForByteUnchanged)
{
    const std::string before = ReadTextFile(Path("books.fend"));
    const ACliRun withMessages = Import({"books.fend", "messages.xml", "--dry-run"});
    EXPECT_EQ(withMessages.exitCode, 3);
    EXPECT_NE(withMessages.err.find("Ошибка: Валюта не найдена."), std::string::npos);
    EXPECT_EQ(withMessages.out, "");
    const ACliRun clean = Import({"books.fend", "clean.xml", "--dry-run"});
    EXPECT_EQ(clean.exitCode, 0);
    EXPECT_EQ(ReadTextFile(Path("books.fend")), before);
}

TEST_F(CliImport, AnUnreadableDocumentFailsAndWritesNothing)
{
    WriteTextFile(Path("broken.xml"), kHeader + "<currencies>");
    WriteTextFile(Path("empty.xml"), kHeader + "<export-options/></fendral>");
    const std::string before = ReadTextFile(Path("books.fend"));

    const ACliRun broken = Import({"books.fend", "broken.xml"});
    EXPECT_EQ(broken.exitCode, 1);
    EXPECT_EQ(broken.err.rfind("Ошибка: От модуля импорта получены неверные данные.\n\nКод ошибки: 5;\n", 0), 0u)
        << broken.err;
    const ACliRun empty = Import({"books.fend", "empty.xml"});
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_EQ(empty.err, "Ошибка: Данные для импорта не обнаружены.\n");
    EXPECT_EQ(ReadTextFile(Path("books.fend")), before);
}

TEST_F(CliImport, MissingFilesExitWithSix)
{
    const ACliRun noInput = Import({"books.fend", "nowhere.xml"});
    EXPECT_EQ(noInput.exitCode, 6);
    EXPECT_EQ(noInput.err, ExpectedMessage(489, {u"nowhere.xml"}));
    const ACliRun noFile = Import({"nothing.fend", "clean.xml"});
    EXPECT_EQ(noFile.exitCode, 6);
    EXPECT_EQ(noFile.err, ExpectedMessage(489, {u"nothing.fend"}));
}

TEST_F(CliImport, AWorkbookIsReadWithTheXlsxFormat)
{
    // A workbook with a "Currencies" sheet only.
    WriteWorkbook("Currencies", "['Name', 'Code', 'Precision'], ['Dollar', 'USD', '2'], ['Euro', '', '2']");

    const ACliRun run = Import({"books.fend", "book.xlsx", "--format", "xlsx"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    // The empty code is reported at its cell.
    EXPECT_EQ(run.err, "Ошибка: Не указано обозначение для валюты.\n\nСмотри: Лист: Currencies, B3\n");
    ADatabase db;
    ASSERT_EQ(db.Open(Path("books.fend")), Result::kOk);
    EXPECT_EQ(db.Currencies().LiveCount(), 2u);
}

TEST_F(CliImport, AMessageThatOpensWithItsLabelIsNotLabelledTwice)
{
    WriteWorkbook("Classifiers", "['Singular name', 'Plural name', 'Income root', 'Expense root'], "
                                 "['A', 'As', 'Root', 'Out A'], ['B', 'Bs', 'Root', 'Out B']");

    const ACliRun run = Import({"books.fend", "book.xlsx", "--format", "xlsx", "--dry-run"});
    EXPECT_EQ(run.exitCode, 3) << run.err;
    EXPECT_EQ(run.err.rfind("Ошибка: одно и то же название корневой категории использовано более одного раза: "
                            "'Root', ячейка 'C3', лист 'Classifiers'\n", 0), 0u) << run.err;
}

TEST_F(CliImport, AnUnknownFormatIsAUsageError)
{
    const ACliRun run = Import({"books.fend", "clean.xml", "--format", "nosuchmodule"});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("nosuchmodule"), std::string::npos);
    EXPECT_EQ(Import({"books.fend"}).exitCode, 2);
}

TEST_F(CliImport, AFailingSaveLeavesTheFileUnchanged)
{
    // A balance beyond the 64-bit range refuses the save phase.
    const std::string huge = "900000000000000";
    const std::string income = "<transaction><date>2021-01-01</date><income><executed/><income-account><name>Card"
                               "</name><currency>USD</currency></income-account><income-amount>" + huge +
                               "</income-amount></income></transaction>";
    WriteTextFile(Path("huge.xml"), kHeader + "<currencies><currency><name>Dollar</name><code>USD</code></currency>"
                                              "</currencies><accounts><account><name>Card</name><currency>USD"
                                              "</currency></account></accounts><transactions>" +
                                        income + income + "</transactions></fendral>");
    const std::string before = ReadTextFile(Path("books.fend"));
    const ACliRun overflow = Import({"books.fend", "huge.xml"});
    EXPECT_EQ(overflow.exitCode, 1);
    EXPECT_EQ(overflow.err, ExpectedMessage(787, {0x80070216u}));
    EXPECT_EQ(ReadTextFile(Path("books.fend")), before);

    // A file of the previous generation, and one another copy holds, open read-only: the
    // import is refused with 504 before the document is read.
    const OldFileSample old;
    WriteTextFile(Path("old.fdb"), std::string(old.Bytes().begin(), old.Bytes().end()));
    ADatabase holder;
    ASSERT_EQ(holder.Open(Path("books.fend")), Result::kOk);
    for (const char16_t* name : {u"old.fdb", u"books.fend"}) {
        const std::string file = UtilityClasses::Strings::Utf16ToUtf8(name);
        const std::string fileBefore = ReadTextFile(Path(file));
        const ACliRun readOnly = Import({file, "clean.xml"});
        EXPECT_EQ(readOnly.exitCode, 1) << file;
        EXPECT_EQ(readOnly.err, ExpectedMessage(504, {name})) << file;
        EXPECT_EQ(ReadTextFile(Path(file)), fileBefore);
    }
}

}  // namespace
