// fendral-cli export, run as a process on temporary files.
#include "cli/CliTestFiles.h"

#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlReader.h"

#include <filesystem>

using namespace CliTest;

namespace {

namespace XML = UtilityClasses::XML;
using namespace Database;
using Engine::ATableImpl;

constexpr AMoney M(std::int64_t units) { return units * 10'000; }

// A data file with a second account in dollars, a second classifier and three
// transactions on different days, two of them on the cash account.
void WriteBooks(const std::string& path)
{
    ADatabase db;
    db.CreateDefaults();
    db.BeginStep();
    const auto rur = ATableImpl<ACurrency>::RefTo(db.Currencies().Live().front());
    const auto cash = ATableImpl<AAccount>::RefTo(db.Accounts().Live().front());
    const auto usd = ATableImpl<ACurrency>::RefTo(db.Currencies().Create({db.NewText(u"Доллар"), db.NewText(u"USD"), 2}));
    AAccount card;
    card.name = db.NewText(u"Card");
    card.currency = usd;
    const auto cardRef = ATableImpl<AAccount>::RefTo(db.Accounts().Create(card));
    const auto root = ATableImpl<ACategory>::RefTo(db.Categories().Create({db.NewText(u"Все проекты"), {}, {}}));
    db.Classifiers().Create({db.NewText(u"Проект"), db.NewText(u"Проекты"), root, {}, {}, 0, 0});
    auto add = [&](AReference<AAccount> account, AMoney amount, ADate date) {
        ATransaction t;
        t.account1 = account;
        t.amount1 = amount;
        t.date = t.budgetDate = date;
        db.Transactions().Create(t);
    };
    add(cash, -M(5), Dates::FromYmd(2021, 1, 10));
    add(cardRef, M(7), Dates::FromYmd(2021, 2, 10));
    add(cash, M(9), Dates::FromYmd(2021, 3, 10));
    (void)rur;
    db.CommitStep();
    SaveNewDatabase(db, path);
}

// The names of the children of the root element, and the dates of the transactions.
struct ADocumentOutline {
    std::vector<std::string> sections;
    std::vector<std::string> dates;
    std::vector<std::string> classifiers;
    std::string module;
};

ADocumentOutline Outline(const std::string& path)
{
    ADocumentOutline outline;
    XML::ADocument document;
    EXPECT_TRUE(XML::ParseDocument(document, ReadTextFile(path)).Ok()) << path;
    const XML::AElement* root = document.RootElement();
    if (!root)
        return outline;
    for (const XML::ANode& node : root->Children()) {
        const XML::AElement* section = node.ToElement();
        outline.sections.push_back(section->Name());
        if (section->Name() == "export-options")
            outline.module = section->FirstElement("module")->Text();
        for (const XML::ANode& item : section->Children()) {
            if (section->Name() == "transactions")
                outline.dates.push_back(item.ToElement()->FirstElement("date")->Text());
            if (section->Name() == "classifiers")
                outline.classifiers.push_back(item.ToElement()->FirstElement("singular-name")->Text());
        }
    }
    return outline;
}

using V = std::vector<std::string>;

class CliExport : public ACliTest {
protected:
    void SetUp() override { WriteBooks(Path("books.fend")); }
    // The settings go to the test's folder, not to the user's.
    ACliRun Export(std::vector<std::string> arguments) const
    {
        arguments.insert(arguments.begin(), "export");
        return Run(arguments, {"HOME=" + folder.Path(), "XDG_CONFIG_HOME=" + folder.Path() + "/config"});
    }
};

TEST_F(CliExport, WritesTheWholeFileAsAnInterchangeDocument)
{
    const std::string before = ReadTextFile(Path("books.fend"));
    const ACliRun run = Export({"books.fend", "books.xml"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    const ADocumentOutline outline = Outline(Path("books.xml"));
    EXPECT_EQ(outline.sections, (V{"export-options", "currencies", "accounts", "classifiers", "transactions"}));
    EXPECT_EQ(outline.dates, (V{"2021-01-10", "2021-02-10", "2021-03-10"}));
    EXPECT_EQ(outline.classifiers, (V{"Статья", "Проект"}));
    EXPECT_EQ(outline.module, "{6F1C2B7E-3D4A-4E59-9B21-7A0C5D8E4F10}");
    // Exporting leaves the data file as it was and remembers the file and the module.
    EXPECT_EQ(ReadTextFile(Path("books.fend")), before);
    const std::string settings = ReadTextFile(Path("config/VelvixSoft/Fendral.conf"));
    EXPECT_NE(settings.find("fendral:xmlExportFileName=" + Path("books.xml")), std::string::npos) << settings;
    EXPECT_NE(settings.find("ExportLibrary={6F1C2B7E-3D4A-4E59-9B21-7A0C5D8E4F10}"), std::string::npos) << settings;
}

TEST_F(CliExport, SelectsKindsClassifiersPeriodAndAccounts)
{
    ASSERT_EQ(Export({"books.fend", "a.xml", "--only", "currencies,transactions"}).exitCode, 0);
    EXPECT_EQ(Outline(Path("a.xml")).sections, (V{"export-options", "currencies", "transactions"}));

    ASSERT_EQ(Export({"books.fend", "b.xml", "--classifiers", "Проекты,Статья"}).exitCode, 0);
    EXPECT_EQ(Outline(Path("b.xml")).classifiers, (V{"Проект", "Статья"}));

    ASSERT_EQ(Export({"books.fend", "c.xml", "--from", "2021-02-01", "--to", "2021-03-10"}).exitCode, 0);
    EXPECT_EQ(Outline(Path("c.xml")).dates, (V{"2021-02-10", "2021-03-10"}));

    ASSERT_EQ(Export({"books.fend", "d.xml", "--accounts", "Наличные@RUR"}).exitCode, 0);
    EXPECT_EQ(Outline(Path("d.xml")).dates, (V{"2021-01-10", "2021-03-10"}));

    ASSERT_EQ(Export({"books.fend", "e.xml", "--accounts", "Card@USD", "--from", "2021-03-01", "--to", "2021-12-31"})
                  .exitCode,
              0);
    EXPECT_EQ(Outline(Path("e.xml")).sections, (V{"export-options", "currencies", "accounts", "classifiers"}));
}

TEST_F(CliExport, ThroughThePlugInsModule)
{
    for (const std::string format : {"csvexchange", "csvexchange.so", "Операции в файле CSV"}) {
        const ACliRun run = Export({"books.fend", "books.csv", "--format", format});
        ASSERT_EQ(run.exitCode, 0) << format << ": " << run.err;
        EXPECT_EQ(ReadTextFile(Path("books.csv")),
                  "date,kind,executed,account,currency,amount,to_account,to_currency,to_amount,comment\r\n"
                  "2021-01-10,expense,0,Наличные,RUR,-5.0000,,,,\r\n"
                  "2021-02-10,income,0,Card,USD,7.0000,,,,\r\n"
                  "2021-03-10,income,0,Наличные,RUR,9.0000,,,,\r\n");
        std::filesystem::remove(Path("books.csv"));
    }
    // A module's warning is printed and makes the exit code 3.
    const ACliRun run = Export({"books.fend", "none.csv", "--format", "csvexchange", "--only", "accounts"});
    EXPECT_EQ(run.exitCode, 3);
    EXPECT_EQ(run.err, "Предупреждение: В документе нет операций.\n");
}

TEST_F(CliExport, WritesAWorkbookWithTheXlsxFormat)
{
    const ACliRun run = Export({"books.fend", "books.xlsx", "--format", "xlsx", "--only", "accounts,transactions"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    // An independent reader sees the sheets and the typed cells.
    const std::string script =
        "import openpyxl, sys\n"
        "book = openpyxl.load_workbook(sys.argv[1])\n"
        "print('|'.join(book.sheetnames))\n"
        "sheet = book['Transactions']\n"
        "print(sheet['C2'].value.date(), sheet['I2'].value, sheet['J2'].value)\n";
    WriteTextFile(Path("read.py"), script);
    const std::string command = std::string(FENDRAL_PYTHON) + " " + Path("read.py") + " " + Path("books.xlsx") +
                                " > " + Path("read.out");
    ASSERT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadTextFile(Path("read.out")),
              "Transactions|Accounts|Export options\n2021-01-10 RUR - Наличные -5.0\n");
    const std::string settings = ReadTextFile(Path("config/VelvixSoft/Fendral.conf"));
    EXPECT_NE(settings.find("fendral:xlsExportFileName=" + Path("books.xlsx")), std::string::npos) << settings;
    EXPECT_NE(settings.find("ExportLibrary={9E2A4C61-7B3D-4F85-A1C9-5D0E8B2F6A34}"), std::string::npos) << settings;
}

TEST_F(CliExport, UsageErrorsAndFailures)
{
    const struct {
        std::vector<std::string> arguments;
        int exitCode;
        std::string errStart;
    } cases[] = {
        {{"books.fend", "x.xml", "--only", "currencies,budgets"}, 2, "fendral-cli: --only takes"},
        {{"books.fend", "x.xml", "--from", "2021-01-01"}, 2, "fendral-cli: --from and --to go together"},
        {{"books.fend", "x.xml", "--from", "2021-1-1", "--to", "2021-02-01"}, 2, "fendral-cli: a date is written"},
        {{"books.fend", "x.xml", "--from", "2021-03-01", "--to", "2021-02-01"}, 2, "fendral-cli: --from is after"},
        {{"books.fend", "x.xml", "--format", "nothing"}, 2, "fendral-cli: there is no export module \"nothing\""},
        {{"books.fend", "x.xml", "--accounts", "Card"}, 2, "fendral-cli: an account is written NAME@CODE"},
        {{"books.fend", "x.xml", "--accounts", "Card@RUR"}, 1, "fendral-cli: the file has no account \"Card@RUR\""},
        {{"books.fend", "x.xml", "--classifiers", "Агенты"}, 1, "fendral-cli: the file has no classifier \"Агенты\""},
        {{"books.fend", "no-folder/x.xlsx", "--format", "xlsx"}, 1,
         "Ошибка: Невозможно создать файл \"" + Path("no-folder/x.xlsx") + "\"."},
        {{"missing.fend", "x.xml"}, 6, ExpectedMessage(489, {Utf16("missing.fend")})},
        {{"books.fend", "no-folder/x.xml"}, 1,
         "Ошибка: Невозможно создать файл \"" + Path("no-folder/x.xml") + "\"."},
    };
    for (const auto& c : cases) {
        const ACliRun run = Export(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments[2] << run.err;
        EXPECT_EQ(run.err.rfind(c.errStart, 0), 0u) << run.err;
        EXPECT_FALSE(std::filesystem::exists(Path("x.xml")));
    }
}

}  // namespace
