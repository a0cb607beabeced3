// A program context for the benchmarks of the GUI layers: the built-in Russian texts, the
// user's store in a temporary folder, a fixed clock (15 March 2025, noon) and dialogs that
// answer as a benchmark scripts them.
#pragma once
#include "ui/DatabaseModel.h"

#include "core/FileSystem.h"
#include "core/OptionStore.h"
#include "ui/ProgramContext.h"
#include "ui/UserDialogs.h"

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QWidget>

#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

struct ABenchProgram {
    QTemporaryDir folder;
    Files::ALocalFileSystem fs;
    UserInterface::AQuietDialogs dialogs;
    UserInterface::AProgramContext context;

    ABenchProgram()
    {
        using namespace UserInterface;
        const std::string root = folder.path().toStdString();
        context.strings = std::make_unique<UtilityClasses::Strings::AStrings>(UtilityClasses::Strings::RussianLocale());
        context.fs = &fs;
        context.folders = {root + "/bin/fendral", root + "/bin", root + "/config", root + "/data", root + "/run"};
        context.clock = [] { return Dates::ALocalTime{Dates::FromYmd(2025, 3, 15), 12 * 3600 * 1000}; };
        context.dialogs = &dialogs;
        context.settings = std::make_unique<Settings::ASettings>(
            Settings::OptionStorage::ChooseOptionStore(fs, context.folders.programPath, context.folders.configFolder));
    }
};

// The visible control of that type a screen reader knows by `name`.
template <typename T>
T* NamedControl(QWidget& window, const QString& name)
{
    for (T* w : window.findChildren<T*>())
        if (w->isVisible() && QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name) == name)
            return w;
    return nullptr;
}

// Answers a dialog as a user would: shows it, types `text()` into the amount field named
// `field` and presses OK. The clock runs from the press on (the caller paused it), so what
// is timed is what the user waits for after OK.
inline std::function<int(QDialog&)> TypeAmountAndPressOk(benchmark::State& state, QString field,
                                                         std::function<QString()> text)
{
    return [&state, field, text](QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        auto* edit = NamedControl<QLineEdit>(dialog, field);
        auto* ok = NamedControl<QPushButton>(dialog, QStringLiteral("OK"));
        if (!edit || !ok) {
            dialog.reject();
            state.ResumeTiming();
            return dialog.result();
        }
        edit->setText(text());
        emit edit->textEdited(edit->text());
        state.ResumeTiming();
        ok->click();
        return dialog.result();
    };
}
