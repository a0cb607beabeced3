// A drop-down picker of records of one table (currencies, folders, account plans): rows of the
// record's identifier and text, as a flat list or a tree given depth first, bold where asked.
// The owner keeps it as long as the picker control and destroys it first.
#pragma once
#include "win32api/ReportMode.h"
#include "win32api/ReportPicker.h"

#include <QFrame>
#include <QObject>
#include <QPointer>

#include <cstdint>
#include <string>
#include <vector>

namespace UserInterface::Accounts {

class ARecordPicker final : public QObject {
    Q_OBJECT
public:
    struct ARow {
        std::uint32_t id = 0;  // the record's identifier, never 0
        std::u16string text;
        int depth = 0;  // parents come before their children
        bool bold = false;
    };

    explicit ARecordPicker(Win32API::VelvixControls::Reports::AReportPicker& picker);
    ~ARecordPicker() override;

    // Replaces the rows; the chosen record stays chosen when it is still listed.
    void Fill(const std::vector<ARow>& rows);
    void Choose(std::uint32_t id);
    // The chosen record's identifier; 0 for none.
    std::uint32_t Chosen() const;
    Win32API::VelvixControls::Reports::AReportPicker& Picker() const { return *picker_; }

signals:
    // The user chose another row.
    void Changed();

private:
    QPointer<Win32API::VelvixControls::Reports::AReportPicker> picker_;
    Win32API::VelvixControls::Reports::AReportMode mode_;
};

}  // namespace UserInterface::Accounts
