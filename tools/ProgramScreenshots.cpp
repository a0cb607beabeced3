// Renders the main window with each of its pages, and the program's dialogs, to PNG files
// offscreen, from a generated data file, so that a person without a display sees the program.
//   fendral-screenshots [output folder] [transactions]     (default: the current folder, 3000)
#include "ui/DatabaseModel.h"

#include "../bench/DataFileGenerator.h"
#include "ui/MainForm.h"
#include "ui/currencies/CurrencyDialog.h"
#include "ui/currencies/CurrencyPage.h"
#include "ui/currencies/DownloadWizard.h"
#include "ui/currencies/RateDialog.h"
#include "ui/exchange/ExportWizard.h"
#include "ui/exchange/CategoryRulesDialog.h"
#include "ui/exchange/CsvProfilesDialog.h"
#include "ui/exchange/ImportWizard.h"
#pragma push_macro("slots")
#undef slots
#include "core/CodePage.h"
#include "core/SettingsBlobs.h"
#include "exchange/statements/CategoryRules.h"
#include "exchange/statements/CsvProfiles.h"
#include "exchange/statements/StatementModules.h"
#pragma pop_macro("slots")
#include "ui/PageOrdr.h"
#include "ui/Passwords.h"
#include "ui/SettingsDialog.h"
#include "ui/StartUp.h"
#include "ui/accounts/AccountDialog.h"
#include "ui/accounts/FolderDialog.h"
#include "ui/budget/BudgetDialog.h"
#include "ui/budget/BudgetPage.h"
#include "ui/reports/ReportsPage.h"
#include "ui/reports/SeriesDialog.h"
#include "ui/categories/CategoryDialog.h"
#include "ui/categories/ClassifierDialog.h"
#include "ui/categories/DataFileSettingsDialog.h"
#include "win32api/DynaForm.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace UserInterface;

bool Save(QWidget& widget, const QDir& folder, const QString& name)
{
    const QString path = folder.filePath(name + ".png");
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", path.toUtf8().constData());
    return saved;
}

// What the generator leaves out: chart series over the generated accounts, and budget
// articles measured by them with plans for this year.
void AddBudgetAndSeries(Database::ADatabase& db, int year)
{
    using namespace Database;
    db.BeginStep();
    const auto rub = Engine::ATableImpl<ACurrency>::RefTo(db.Currencies().Live().front());
    const auto addSeries = [&](std::u16string_view name, std::uint8_t hue, bool income, bool expense) {
        ASeries series;
        series.name = db.NewText(name);
        series.hue = hue;
        series.income = income;
        series.expense = expense;
        series.debitsAboveZero = expense;
        const auto ref = Engine::ATableImpl<ASeries>::RefTo(db.Series().Create(series));
        for (auto* account : db.Accounts().Live())
            if (account->Record().currency == rub)
                db.SeriesAccounts().Create(ASeriesAccountFilter{ref, Engine::ATableImpl<AAccount>::RefTo(account)});
        return ref;
    };
    const auto addItem = [&](std::u16string_view name, AReference<ASeries> series, AReference<ABudgetItem> parent) {
        return Engine::ATableImpl<ABudgetItem>::RefTo(
            db.BudgetItems().Create(ABudgetItem{series.IsNull() ? db.NewText(name) : AReference<AString>(), series, parent}));
    };
    ABudgetLimit limit;
    limit.currency = rub;
    limit.year = static_cast<std::uint32_t>(year);
    limit.kind = ABudgetLimit::kPerMonth;
    const auto income = addItem(u"Доходы", {}, {});
    limit.item = addItem({}, addSeries(u"Доходы семьи", 80, true, false), income);
    limit.amount = BenchData::Money(120'000);
    db.BudgetLimits().Create(limit);
    const auto spending = addItem(u"Расходы", {}, {});
    limit.item = addItem({}, addSeries(u"Расходы на жизнь", 0, false, true), spending);
    limit.amount = BenchData::Money(-90'000);
    db.BudgetLimits().Create(limit);
    addSeries(u"Переводы между счетами", 160, false, false);
    // Every page type gets its picture: the pages a new file keeps hidden are shown too.
    std::vector<Engine::ASlot<APageInfo>*> pages(db.Pages().Live().begin(), db.Pages().Live().end());
    for (auto* page : pages)
        db.Pages().Change(page)->visible = 1;
    db.CommitStep();
    db.ClearHistory();
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<const char*> arguments(argv, argv + argc);
    std::string languageFile;
    if (arguments.size() > 2 && std::string_view(arguments[1]) == "--language") {
        languageFile = arguments[2];
        arguments.erase(arguments.begin() + 1, arguments.begin() + 3);
    }
    if (arguments.size() > 1 && arguments[1][0] == '-') {
        std::printf("Usage: fendral-screenshots [--language FILE.lng] [FOLDER [TRANSACTIONS]]\n"
                    "Renders the main window with each page and the dialogs offscreen, as PNG files in FOLDER\n"
                    "(the current folder by default), over a generated file of TRANSACTIONS (3000), in the\n"
                    "language of FILE.lng when given.\n");
        const std::string_view option = arguments[1];
        return arguments.size() == 2 && (option == "--help" || option == "-h") ? 0 : 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QDir output(arguments.size() > 1 ? QString::fromLocal8Bit(arguments[1]) : QDir::currentPath());
    QDir().mkpath(output.path());
    QTemporaryDir temporary;
    const std::string root = temporary.path().toStdString();

    BenchData::AGeneratorOptions options;
    options.transactions = arguments.size() > 2 ? std::strtoull(arguments[2], nullptr, 10) : 3000;
    options.accounts = 12;
    options.rates = 40;
    const std::string file = root + "/Семья.fend";
    {
        Database::ADatabase db;
        BenchData::Generate(db, options);
        AddBudgetAndSeries(db, 2024);  // the generated books' last year
        if (Result::Failed(db.SaveAs(file))) {
            std::fprintf(stderr, "could not write the data file\n");
            return 1;
        }
    }

    AProgramFolders folders{root + "/bin/fendral", root + "/bin", root + "/config", root + "/data", root + "/run",
                            root + "/bin", root + "/bin"};
    if (!languageFile.empty() && (!QDir().mkpath(QString::fromStdString(folders.languageFolder)) ||
                                  !QFile::copy(QString::fromStdString(languageFile),
                                               QString::fromStdString(folders.languageFolder + "/Language.lng")))) {
        std::fprintf(stderr, "could not use the language file %s\n", languageFile.c_str());
        return 1;
    }
    AProgram program(folders, std::make_unique<AQuietDialogs>());
    program.Start({"fendral", file});
    AMainWindow& window = *program.MainWindow();
    if (!languageFile.empty())
        window.RunCommand(0xFFFF);  // the first language of the Language menu
    window.resize(1180, 720);
    QApplication::processEvents();
    int saved = 0, failed = 0;
    for (int i = 0; i < window.PageCount(); ++i) {
        window.ShowPage(i);
        QApplication::processEvents();
        (Save(window, output, QString("page-%1").arg(i + 1)) ? saved : failed)++;
    }
    // The reports page with each kind over the generated books' last year, and the budget there.
    for (int i = 0; i < window.PageCount(); ++i) {
        window.ShowPage(i);
        if (auto* budget = dynamic_cast<Budget::ABudgetPage*>(window.CurrentPage())) {
            auto parameters = budget->Parameters();
            parameters.period = Filters::ADatePeriod(Dates::FromYmd(2024, 3, 1), Dates::FromYmd(2024, 3, 31),
                                                     Filters::APeriodKind::Month);
            budget->SetParameters(parameters);
            QApplication::processEvents();
            (Save(window, output, "budget-2024") ? saved : failed)++;
        }
        auto* reports = dynamic_cast<Reports::AReportsPage*>(window.CurrentPage());
        if (!reports)
            continue;
        for (int kind = 0; kind < Reports::kReportKindCount; ++kind) {
            auto parameters = reports->Parameters();
            parameters.kind = static_cast<Reports::AReportKind>(kind);
            parameters.period = Filters::ADatePeriod(Dates::FromYmd(2024, 1, 1), Dates::FromYmd(2024, 12, 31),
                                                     Filters::APeriodKind::Year);
            reports->SetParameters(parameters);
            QApplication::processEvents();
            (Save(window, output, QString("report-%1").arg(kind + 1)) ? saved : failed)++;
        }
    }
    window.ShowPage(1);
    window.RunCommand(235);  // the help pane beside the transactions
    QApplication::processEvents();
    (Save(window, output, "help-pane") ? saved : failed)++;

    AProgramContext& context = program.Context();
    window.ShowPage(3);  // the currencies, then the rates of a pair
    if (auto* currencies = dynamic_cast<Currencies::ACurrencyPage*>(window.CurrentPage())) {
        currencies->ShowView(Currencies::ACurrencyPage::AView::Rates);
        QApplication::processEvents();
        (Save(window, output, "currency-rates") ? saved : failed)++;
        currencies->ShowView(Currencies::ACurrencyPage::AView::Currencies);
    }
    {
        Currencies::ACurrencyDialog dialog(context, window.CurrentDatabase(), {}, &window);
        dialog.show();
        QApplication::processEvents();
        (Save(dialog, output, "currency-add") ? saved : failed)++;
        Currencies::ARateDialog rate(context, window.CurrentDatabase(), {}, {}, &window);
        rate.show();
        QApplication::processEvents();
        (Save(rate, output, "rate-add") ? saved : failed)++;
    }
    {
        Currencies::ADownloadCRImpl wizard(context, window.CurrentDatabase(), context.folders.pluginFolder, &window);
        wizard.show();
        QApplication::processEvents();
        (Save(wizard, output, "download-wizard") ? saved : failed)++;
    }
    {
        // Every page of the exchange wizards, going on with Next: an export, the question before
        // a second one replaces its file, the import of what it wrote into a new file, and an
        // empty document's messages.
        QTemporaryDir exchange;
        const auto shoot = [&](AWizard& wizard, const char* prefix, const std::string& file, int pages = 10) {
            wizard.show();
            QApplication::processEvents();
            for (QLineEdit* edit : wizard.findChildren<QLineEdit*>()) {
                edit->setText(QString::fromStdString(file));
                emit edit->textEdited(edit->text());
            }
            for (int page = 1; page <= pages; ++page) {
                QApplication::processEvents();
                (Save(wizard, output, QString("%1-%2").arg(prefix).arg(page)) ? saved : failed)++;
                if (!wizard.Next())
                    break;
            }
        };
        const std::string xml = exchange.filePath("books.xml").toStdString();
        const std::string empty = exchange.filePath("empty.xml").toStdString();
        QFile(QString::fromStdString(empty)).open(QIODevice::WriteOnly);
        Exchange::AExportWizard exporting(context, window.CurrentDatabase(), context.folders.pluginFolder, &window);
        shoot(exporting, "export-wizard", xml);
        Exchange::AExportWizard again(context, window.CurrentDatabase(), context.folders.pluginFolder, &window);
        shoot(again, "export-wizard-overwrite", xml, 2);  // the file is there now
        Database::ADatabase target;
        target.CreateDefaults();
        Exchange::AImportWizard importing(context, target, context.folders.pluginFolder, &window);
        shoot(importing, "import-wizard", xml);
        Exchange::AImportWizard nothing(context, target, context.folders.pluginFolder, &window);
        shoot(nothing, "import-wizard-empty", empty);
        // A bank statement whose account is remembered from an earlier one.
        const std::string ofx = exchange.filePath("statement.ofx").toStdString();
        QFile statement(QString::fromStdString(ofx));
        statement.open(QIODevice::WriteOnly);
        statement.write("OFXHEADER:100\nDATA:OFXSGML\n\n<OFX><STMTRS><CURDEF>RUB<BANKACCTFROM><ACCTID>40817810"
                        "</BANKACCTFROM><BANKTRANLIST><STMTTRN><DTPOSTED>20240105<TRNAMT>-150.25<FITID>A1<NAME>"
                        "\xD0\x91\xD1\x83\xD0\xBB\xD0\xBE\xD1\x87\xD0\xBD\xD0\xB0\xD1\x8F</STMTTRN><STMTTRN>"
                        "<DTPOSTED>20240110<TRNAMT>2000<FITID>A2<NAME>Salary</STMTTRN></BANKTRANLIST></STMTRS></OFX>");
        statement.close();
        const auto* account = target.Accounts().Live().front();
        const auto* currency = target.Currencies().Record(account->Record().currency);
        context.Options().Store().WriteString(
            "StatementAccount:40817810", UtilityClasses::Strings::Utf16ToUtf8(target.Text(account->Record().name)) + "@" +
                                             UtilityClasses::Strings::Utf16ToUtf8(target.Text(currency->code)));
        Settings::SaveLibraryGuid(context.Options().Store(), Settings::ALibraryUse::Import,
                                  ExportImport::ToGuid(ExportImport::Statements::StatementModuleId(
                                      ExportImport::Statements::AStatementFormat::Ofx)));
        Exchange::AImportWizard statements(context, target, context.folders.pluginFolder, &window);
        shoot(statements, "import-wizard-statement", ofx);
    }
    context.Options().SetFlag(Settings::kExpandedAccountList, true);
    window.ApplySettings();
    QApplication::processEvents();
    (Save(window, output, "transactions-account-tree") ? saved : failed)++;
    context.Options().SetFlag(Settings::kExpandedAccountList, false);
    window.ApplySettings();
    {
        Settings::ASettingsForm dialog(context, &window);
        for (int page = 0; page < Settings::ASettingsForm::kPageCount; ++page) {
            dialog.ShowPage(page);
            dialog.show();
            dialog.adjustSize();
            QApplication::processEvents();
            (Save(dialog, output, QString("settings-%1").arg(page + 1)) ? saved : failed)++;
        }
    }
    {
        PageOrder::APageOrderDialog dialog(context, window.CurrentDatabase(), &window);
        dialog.show();
        QApplication::processEvents();
        (Save(dialog, output, "page-order") ? saved : failed)++;
        PageOrder::APageEditDialog edit(context, u"Мои расходы", PageOrder::PageTypes(window.CurrentDatabase(), context.Strings()),
                                        true, &window);
        edit.ChooseType(1);
        edit.show();
        QApplication::processEvents();
        (Save(edit, output, "page-edit") ? saved : failed)++;
    }
    {
        APasswords enter(context, file, [](const std::u16string&) { return false; }, &window);
        enter.show();
        QApplication::processEvents();
        (Save(enter, output, "password-enter") ? saved : failed)++;
        APasswords change(context, window.CurrentDatabase(), &window);
        change.show();
        QApplication::processEvents();
        (Save(change, output, "password-change") ? saved : failed)++;
    }
    {
        // The dialogs the pages' commands open, shot as they open.
        QString name;
        static_cast<AQuietDialogs&>(context.Dialogs()).onModal = [&](QDialog& dialog) {
            dialog.show();
            QApplication::processEvents();
            (Save(dialog, output, name) ? saved : failed)++;
            return 0;
        };
        Database::ADatabase& db = window.CurrentDatabase();
        const auto articles = Database::Engine::ATableImpl<Database::AClassifier>::RefTo(db.Classifiers().Live().front());
        const auto category = Database::Engine::ATableImpl<Database::ACategory>::RefTo(db.Categories().Live().back());
        for (auto [shot, mode] : {std::pair{"category-change", Categories::ACategoryDialogMode::Change},
                                  {"category-move", Categories::ACategoryDialogMode::Move}}) {
            name = shot;
            Categories::RunCategoryDialog(&window, context, db, articles, mode, category);
        }
        name = "classifier-add";
        Categories::RunClassifierDialog(&window, context, db, {});
        name = "file-settings";
        Categories::RunDataFileSettingsDialog(&window, context, db);
        // The CSV statement profiles with a profile of a bank and the first lines of its file.
        QTemporaryDir csvFolder;
        const std::string csv = csvFolder.filePath("statement.csv").toStdString();
        QFile csvFile(QString::fromStdString(csv));
        csvFile.open(QIODevice::WriteOnly);
        csvFile.write("Date;Text;Out;In;Ref\n05.01.2024;\"Shop; near\";12,50;;R1\n06.01.2024;Salary;;50000;R2\n");
        csvFile.close();
        ExportImport::Statements::ACsvMapping mapping;
        mapping.payee = 1;
        mapping.debit = 2;
        mapping.credit = 3;
        mapping.reference = 4;
        ExportImport::Statements::ACsvProfiles(context.Options().Store()).Save(u"Bank", mapping);
        name = "csv-profiles";
        Exchange::RunCsvProfilesDialog(context, &window, csv);
        ExportImport::Statements::ACategoryRules(context.Options().Store())
            .Set({{u"Bakery", {ExportImport::Statements::NameOf(db, category)}}});
        name = "category-rules";
        Exchange::RunCategoryRulesDialog(context, &window, db);
        // The accounts page and its dialogs with folders in use.
        db.BeginStep();
        db.Settings().Change(db.Settings().Live().front())->accountFolders = 1;
        db.CommitStep();
        const auto plan = Database::Engine::ATableImpl<Database::AAccountFolder>::RefTo(db.Folders().Live().front());
        const auto account = Database::Engine::ATableImpl<Database::AAccount>::RefTo(db.Accounts().Live().front());
        name = "account-add";
        Accounts::RunAccountDialog(&window, context, db, plan, {}, plan);
        name = "account-change";
        Accounts::RunAccountDialog(&window, context, db, plan, account);
        name = "folder-add";
        Accounts::RunFolderDialog(&window, context, db, Accounts::AFolderDialogMode::AddFolder, plan, plan);
        name = "plan-change";
        Accounts::RunFolderDialog(&window, context, db, Accounts::AFolderDialogMode::Change, plan, plan);
        name = "account-move";
        Accounts::RunMoveDialog(&window, context, db, plan, account, {});
        window.ShowPage(0);
        QApplication::processEvents();
        (Save(window, output, "accounts-folders") ? saved : failed)++;
        // The budget's dialogs, over its first folder and article.
        const auto folder = Database::Engine::ATableImpl<Database::ABudgetItem>::RefTo(db.BudgetItems().Live().front());
        const auto article = Database::Engine::ATableImpl<Database::ABudgetItem>::RefTo(db.BudgetItems().Live()[1]);
        name = "budget-folder-change";
        Budget::RunFolderDialog(&window, context, db, folder, {}, nullptr);
        name = "budget-article-add";
        Budget::RunArticleDialog(&window, context, db, {}, folder, nullptr);
        name = "budget-plans";
        Budget::RunPlansDialog(&window, context, db, article, 2024, {});
        name = "budget-move";
        Budget::RunMoveDialog(&window, context, db, article);
        name = "series-add";
        Reports::RunSeriesDialog(&window, context, db, {}, nullptr);
        name = "series-change";
        Reports::RunSeriesDialog(&window, context, db,
                                 Database::Engine::ATableImpl<Database::ASeries>::RefTo(db.Series().Live().front()), nullptr);
    }
    std::printf("%d pictures, %d failed\n", saved, failed);
    return failed == 0 ? 0 : 1;
}
