#include "win32api/DateCtrl.h"

#include "win32api/PickerFormat.h"
#include "win32api/QtText.h"

#include <algorithm>

namespace Win32API::VelvixControls {

namespace {

constexpr ADate kFirstDay = -657434;  // 0100-01-01
constexpr ADate kLastDay = 2958465;   // 9999-12-31
constexpr std::int32_t kDayMilliseconds = 86'400'000;

}  // namespace

QDate ToQDate(ADate date)
{
    return QDate(1899, 12, 30).addDays(date);
}

ADate FromQDate(const QDate& date)
{
    return static_cast<ADate>(QDate(1899, 12, 30).daysTo(date));
}

ADatePicker::ADatePicker(QWidget* parent) : QDateEdit(parent)
{
    setCalendarPopup(true);
    setDateRange(ToQDate(kFirstDay), ToQDate(kLastDay));
    SetPicture(u"dd.MM.yyyy");
}

void ADatePicker::SetPicture(std::u16string_view picture)
{
    setDisplayFormat(ToQString(EditorFormatFromPicture(picture)));
}

ADate ADatePicker::Date() const
{
    return FromQDate(date());
}

void ADatePicker::SetDate(ADate date)
{
    setDate(ToQDate(std::clamp(date, kFirstDay, kLastDay)));
}

ATimePicker::ATimePicker(QWidget* parent) : QTimeEdit(parent)
{
    SetPicture(u"HH:mm:ss");
}

void ATimePicker::SetPicture(std::u16string_view picture)
{
    setDisplayFormat(ToQString(EditorFormatFromPicture(picture)));
}

std::int32_t ATimePicker::Time() const
{
    return time().msecsSinceStartOfDay() / 1000 * 1000;
}

void ATimePicker::SetTime(std::int32_t milliseconds)
{
    milliseconds = std::clamp(milliseconds, 0, kDayMilliseconds - 1);
    setTime(QTime::fromMSecsSinceStartOfDay(milliseconds / 1000 * 1000));
}

}  // namespace Win32API::VelvixControls
