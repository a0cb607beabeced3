// The date picker ("[D...]") and the time picker ("[T...]"): Qt's editors showing the
// user's date and time pictures, holding the program's own date and time values.
#pragma once
#include "core/ADate.h"
#include "win32api/AControl.h"

#include <QDateEdit>
#include <QTimeEdit>

#include <cstdint>
#include <string_view>

namespace Win32API::VelvixControls {

class ADatePicker : public QDateEdit, public AControl {
    Q_OBJECT
public:
    explicit ADatePicker(QWidget* parent = nullptr);
    // The short date picture of the user's locale.
    void SetPicture(std::u16string_view picture);
    ADate Date() const;
    // A day outside 0100-01-01 .. 9999-12-31 is clamped into it.
    void SetDate(ADate date);
};

class ATimePicker : public QTimeEdit, public AControl {
    Q_OBJECT
public:
    explicit ATimePicker(QWidget* parent = nullptr);
    void SetPicture(std::u16string_view picture);
    // Milliseconds since midnight, in whole seconds.
    std::int32_t Time() const;
    void SetTime(std::int32_t milliseconds);
};

// Day 0 of the program's dates is 1899-12-30.
QDate ToQDate(ADate date);
ADate FromQDate(const QDate& date);

}  // namespace Win32API::VelvixControls
