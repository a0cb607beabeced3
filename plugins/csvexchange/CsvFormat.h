// The transactions of an interchange document as CSV, and back.
//
// One line per transaction after a header line:
//   date,kind,executed,account,currency,amount,to_account,to_currency,to_amount,comment
// kind is income, expense, transfer or balance. A transfer's first account is the one the
// money leaves; a balance correction's amount is the balance it states. Imported, the
// accounts and currencies the lines name come with them (a currency named by its code).
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace CsvExchange {

constexpr std::string_view kCsvHeader = "date,kind,executed,account,currency,amount,to_account,to_currency,to_amount,comment";

// progress(done) is called after every transaction. False when the document can't be read.
bool DocumentToCsv(std::string_view document, std::string& csv, std::size_t& transactions,
                   const std::function<void(std::size_t done)>& progress);

struct ACsvProblem {
    std::size_t record = 0;  // from 1, the header line included
    std::string what;
};

// An interchange document with the transactions of the CSV text; lines that can't be
// taken are left out and listed. moduleId is the importing module's identifier text.
std::string CsvToDocument(std::string_view csv, std::string_view moduleId, std::string_view exportDate,
                          std::vector<ACsvProblem>& problems);

}  // namespace CsvExchange
