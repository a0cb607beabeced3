// The command-line options of the generated books the benchmark programs share: the
// number of transactions and the order they are entered in.
#pragma once

#include "DataFileGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace BenchOptions {

inline std::optional<BenchData::AEntryOrder> ParseOrder(std::string_view word)
{
    if (word == "date")
        return BenchData::AEntryOrder::Date;
    if (word == "reverse")
        return BenchData::AEntryOrder::Reverse;
    if (word == "random")
        return BenchData::AEntryOrder::Random;
    return std::nullopt;
}

inline const char* OrderName(BenchData::AEntryOrder order)
{
    switch (order) {
    case BenchData::AEntryOrder::Reverse:
        return "reverse";
    case BenchData::AEntryOrder::Random:
        return "random";
    case BenchData::AEntryOrder::Date:
        break;
    }
    return "date";
}

// Takes "--transactions N" and "--order date|reverse|random" out of the command line into
// `options`, leaving the program's own arguments in place. Says what is wrong and answers
// false on a bad value.
inline bool TakeBookOptions(int& argc, char** argv, BenchData::AGeneratorOptions& options)
{
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if ((word != "--transactions" && word != "--order") || i + 1 == argc) {
            argv[kept++] = argv[i];
            continue;
        }
        const char* value = argv[++i];
        if (word == "--order") {
            const auto order = ParseOrder(value);
            if (!order) {
                std::fprintf(stderr, "the order is date, reverse or random, not %s\n", value);
                return false;
            }
            options.order = *order;
        } else {
            char* end = nullptr;
            options.transactions = std::strtoull(value, &end, 10);
            if (*end != '\0' || options.transactions == 0) {
                std::fprintf(stderr, "the number of transactions must be a positive whole number, not %s\n", value);
                return false;
            }
        }
    }
    argc = kept;
    argv[argc] = nullptr;
    return true;
}

}  // namespace BenchOptions
