// Writes a data file of generated books for the benchmarks:
//   GenerateDataFile N PATH [SEED [date|reverse|random]]
#include "BenchOptions.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 3 || argc > 5) {
        std::fprintf(stderr, "usage: GenerateDataFile TRANSACTIONS PATH [SEED [date|reverse|random]]\n");
        return 2;
    }
    char* end = nullptr;
    BenchData::AGeneratorOptions options;
    options.transactions = std::strtoull(argv[1], &end, 10);
    if (*end != '\0' || options.transactions == 0) {
        std::fprintf(stderr, "TRANSACTIONS must be a positive whole number\n");
        return 2;
    }
    if (argc >= 4)
        options.seed = std::strtoull(argv[3], nullptr, 10);
    if (argc == 5) {
        const auto order = BenchOptions::ParseOrder(argv[4]);
        if (!order) {
            std::fprintf(stderr, "the order is date, reverse or random\n");
            return 2;
        }
        options.order = *order;
    }

    const auto started = std::chrono::steady_clock::now();
    Database::ADatabase db;
    BenchData::Generate(db, options);
    const auto generated = std::chrono::steady_clock::now();
    const std::string path = std::filesystem::absolute(argv[2]).string();
    const HRESULT result = db.SaveAs(path);
    const auto saved = std::chrono::steady_clock::now();
    if (Result::Failed(result)) {
        std::fprintf(stderr, "saving %s failed: 0x%08X\n", path.c_str(), static_cast<unsigned>(result));
        return 1;
    }
    using Ms = std::chrono::duration<double, std::milli>;
    std::error_code error;
    std::printf("%s: %zu transactions, %zu relations, %zu texts, %ju bytes; generated in %.0f ms, saved in %.0f ms\n",
                path.c_str(), db.Transactions().LiveCount(), db.Relations().LiveCount(), db.Strings().LiveCount(),
                static_cast<std::uintmax_t>(std::filesystem::file_size(path, error)), Ms(generated - started).count(),
                Ms(saved - generated).count());
    return 0;
}
