// What the export and import wizard tests share: a small set of books, the wizard's buttons
// and fields as the user reaches them, and the document text of a database.
#pragma once
#include "UiTestSupport.h"

#include "database/RulesTestSupport.h"

#include "exchange/export/ExportDocument.h"
#include "ui/UiText.h"
#include "core/MemoryStream.h"
#include "win32api/AWizard.h"
#include "win32api/DynaForm.h"
#include "win32api/ReportWindow.h"

#include <QApplication>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace ExchangeWizardTest {

using namespace RulesTest;
using Win32API::VelvixControls::Reports::AReportWindow;

// Two currencies, a second account, and an income, an expense and a transfer.
class TExchangeBooks : public TBooks {
public:
    TExchangeBooks()
    {
        Step([&] {
            usd = AddCurrency(u"USD");
            card = AddAccount(u"Карта", usd, M(10));
            db.Transactions().Create(Single(cash, M(1000), Dates::FromYmd(2025, 3, 1)));
            db.Transactions().Create(Single(cash, -M(250), Dates::FromYmd(2025, 3, 2)));
            db.Transactions().Create(Transfer(cash, M(300), card, M(3), Dates::FromYmd(2025, 3, 3)));
        });
    }
    AReference<ACurrency> usd;
    AReference<AAccount> card;
};

// Everything the database holds, as an export writes it (at a fixed time).
inline std::string DocumentOf(ADatabase& db)
{
    ExportImport::AExportEnvironment environment;
    environment.clock = [] { return Dates::ALocalTime{Dates::FromYmd(2025, 3, 15), 0}; };
    auto stream = UtilityClasses::Streams::AMemoryStream::Create();
    ExportImport::ExportDocument(db, ExportImport::SelectEverything(db, {}), environment, stream.get());
    return std::string(stream->Bytes());
}

// The document without its export options (which name the module and the time).
inline std::string Records(std::string document)
{
    const std::size_t start = document.find("<export-options");
    const std::size_t end = document.find("</export-options>");
    if (start != std::string::npos && end != std::string::npos)
        document.erase(start, end + std::string("</export-options>").size() - start);
    return document;
}

// Drives a wizard as the user does.
class AWizardDriver {
public:
    explicit AWizardDriver(UserInterface::AWizard& wizard) : wizard_(wizard)
    {
        wizard_.show();
        QApplication::processEvents();
    }
    void Next() { UiTests::ClickNamed(wizard_, "Далее >>"); }
    void Back() { UiTests::ClickNamed(wizard_, "<< Назад"); }
    void Finish() { UiTests::ClickNamed(wizard_, "Завершить"); }
    void Click(const QString& name) { UiTests::ClickNamed(wizard_, name); }
    // Focuses module row `row` of the first page's list.
    void ChooseModule(const QString& list, int row)
    {
        UiTests::FocusRow(UiTests::Named<AReportWindow>(wizard_, list), row);
    }
    void TypeFile(const std::string& path) { UiTests::TypeInto(wizard_, "Файл:", QString::fromStdString(path)); }
    // The title of the page shown.
    int TitleId() const { return wizard_.Step(wizard_.CurrentStep())->TitleId(); }
    // The texts of the labels and list rows shown on the page, one after another.
    QString Texts() const
    {
        QStringList texts;
        auto* form = wizard_.Step(wizard_.CurrentStep())->Form();
        for (const QLabel* label : form->findChildren<QLabel*>())
            if (label->isVisible())
                texts << label->text();
        for (AReportWindow* list : form->findChildren<AReportWindow*>())
            for (int row = 0; row < list->Model().RowCount(); ++row)
                texts << UserInterface::ToQString(list->Model().Row(row)->Text(0) + u" " + list->Model().Row(row)->Text(1));
        return texts.join(u'|');
    }

private:
    UserInterface::AWizard& wizard_;
};

}  // namespace ExchangeWizardTest
