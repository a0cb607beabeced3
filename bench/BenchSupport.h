// What the timed benchmark programs share: the process's CPU time, a wall-clock timer with
// the CPU time beside it, the median of repeated runs, the process's memory figures, and
// the account with about a given number of transactions.
#pragma once

#include "database/Database.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace BenchSupport {

// The process's CPU time: on a machine shared with builds, wall-clock figures measure
// the neighbours as much as the work.
inline double CpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Wall-clock time since it was made (what the user waits) and the CPU time spent since,
// which stays meaningful on a busy machine.
struct ATimer {
    std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
    double cpu = CpuMs();

    double WallMs() const
    {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - wall).count();
    }
    double CpuSpentMs() const { return CpuMs() - cpu; }
};

// The middle figure of repeated runs (of an even number, the upper one); 0 of none.
inline double Median(std::vector<double> figures)
{
    if (figures.empty())
        return 0;
    std::sort(figures.begin(), figures.end());
    return figures[figures.size() / 2];
}

// The largest figure of repeated runs; 0 of none.
inline double Worst(const std::vector<double>& figures)
{
    return figures.empty() ? 0 : *std::max_element(figures.begin(), figures.end());
}

// A figure of /proc/self/status in kB ("VmRSS:", "VmHWM:"); 0 when it is missing.
inline long StatusKb(const char* field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::strtol(line.c_str() + std::strlen(field), nullptr, 10);
    return 0;
}

// The peak resident size (VmHWM) starts over from the current one.
inline void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// The account whose number of transactions (as their first account) is nearest to the
// wanted one; `count` gets that number.
inline Database::AReference<Database::AAccount> AccountWithAbout(Database::ADatabase& db, std::size_t wanted,
                                                                 std::size_t& count)
{
    std::map<std::uint32_t, std::size_t> counts;
    for (const auto* slot : db.Transactions().Live())
        ++counts[slot->Record().account1.Word()];
    Database::AReference<Database::AAccount> best;
    std::size_t bestDistance = SIZE_MAX;
    for (const auto& [word, n] : counts) {
        const std::size_t distance = n > wanted ? n - wanted : wanted - n;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = Database::AReference<Database::AAccount>::FromWord(word);
            count = n;
        }
    }
    return best;
}

}  // namespace BenchSupport
