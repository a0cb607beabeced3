// Cell values of workbooks: column letters and references, date serials both ways, and
// amounts in the notations spreadsheet programs write.
#include "exchange/workbook/XlsCells.h"

#include <gtest/gtest.h>

namespace {

using namespace ExportImport::FileTypeExcel;

TEST(XlsCells, ColumnLettersAndReferences)
{
    const std::pair<int, const char*> columns[] = {{1, "A"}, {26, "Z"}, {27, "AA"}, {52, "AZ"}, {53, "BA"},
                                                   {702, "ZZ"}, {703, "AAA"}, {16384, "XFD"}};
    for (const auto& [column, letters] : columns) {
        EXPECT_EQ(ColumnLetters(column), letters);
        const auto parsed = ParseCellReference(std::string(letters) + "7");
        ASSERT_TRUE(parsed) << letters;
        EXPECT_EQ(parsed->column, column);
        EXPECT_EQ(parsed->row, 7);
    }
    for (const char* bad : {"", "A", "7", "A0", "a1", "A1B", "XFE1", "A1048577", "ZZZZZZZZZZZZZZZZZZZZ1",
                            "A99999999999999999999999"})
        EXPECT_FALSE(ParseCellReference(bad)) << bad;
}

TEST(XlsCells, DatesAndTimestampsBecomeSerials)
{
    EXPECT_EQ(DateToSerial("1899-12-30"), "0");
    EXPECT_EQ(DateToSerial("2009-01-01"), "39814");
    EXPECT_EQ(DateToSerial("2009-13-01"), std::nullopt);
    EXPECT_EQ(TimestampToSerial("2009-01-01T12:00:00:000"), "39814.5");
    EXPECT_EQ(TimestampToSerial("2009-01-01T00:00:00:000"), "39814");
    EXPECT_EQ(TimestampToSerial("2009-01-01T06:00:00:000"), "39814.25");
    EXPECT_EQ(TimestampToSerial("yesterday"), std::nullopt);
}

TEST(XlsCells, SerialsComeBackAsDatesAndTimestamps)
{
    const std::pair<const char*, const char*> cases[] = {
        {"39814", "2009-01-01"},
        {"39814.0", "2009-01-01"},
        {"3.9814E4", "2009-01-01"},
        {" 39814 ", "2009-01-01"},
        {"39814.5", "2009-01-01T12:00:00:000"},
        {"39814.25", "2009-01-01T06:00:00:000"},
        {"39814.9999999999", "2009-01-02"},  // rounds to the next midnight, not 24:00
        {"2009-01-02", "2009-01-02"},         // text stays text
        {"2009-01-02T09:05:03:007", "2009-01-02T09:05:03:007"},
        {"next week", "next week"},
        {"99999999", "99999999"},  // beyond the calendar: left for the import to refuse
        {"1e400", "1e400"},
        {"", ""},
    };
    for (const auto& [cell, text] : cases)
        EXPECT_EQ(CellToDateText(cell), text) << cell;
    // Every millisecond of a day survives the trip through a serial.
    for (int ms : {1, 7, 999, 1000, 3599999, 45296007, 86399999}) {
        char timestamp[32];
        std::snprintf(timestamp, sizeof timestamp, "2024-02-29T%2.2d:%2.2d:%2.2d:%3.3d", ms / 3600000,
                      ms / 60000 % 60, ms / 1000 % 60, ms % 1000);
        const auto serial = TimestampToSerial(timestamp);
        ASSERT_TRUE(serial) << timestamp;
        EXPECT_EQ(CellToDateText(*serial), timestamp);
    }
}

TEST(XlsCells, NumbersInAnyNotationBecomeAmounts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"1.5", "1.5000"},
        {"1E-4", "0.0001"},
        {"1e-4", "0.0001"},
        {"5e-05", "0.0001"},    // half a ten-thousandth rounds away from zero
        {"-5e-05", "-0.0001"},
        {"4.9e-05", "0.0000"},
        {"-0", "0.0000"},
        {"-0.0", "0.0000"},
        {"+2", "2.0000"},
        {" 2.50 ", "2.5000"},
        {"1.23456E3", "1234.5600"},
        {"1.2E+2", "120.0000"},
        {"12.34565", "12.3457"},
        {"-12.34564", "-12.3456"},
        {".5", "0.5000"},
        {"7.", "7.0000"},
        {"0.00000000000000000000001", "0.0000"},
        {"922337203685477.5807", "922337203685477.5807"},
        {"-922337203685477.5808", "-922337203685477.5808"},
        {"922337203685477.5808", "922337203685477.5808"},  // past 64 bits: kept as text
        {"1E400", "1E400"},
        {"1E-99999999999", "0.0000"},
        {"12,5", "12,5"},
        {"abc", "abc"},
        {"1E", "1E"},
        {"-", "-"},
        {"", ""},
    };
    for (const auto& [cell, text] : cases)
        EXPECT_EQ(CellToAmountText(cell), text) << cell;
}

}  // namespace
