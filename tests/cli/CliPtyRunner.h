// Runs fendral-cli on a pseudo-terminal and answers its prompts, as a person at a
// terminal would: each answer is typed only after the prompt has appeared.
#pragma once

#include <poll.h>
#include <pty.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

struct APtyRun {
    int exitCode = -1;
    std::string screen;  // everything the terminal showed
};

// `dialogue` holds pairs of (text to wait for, line to type). Every wait is bounded.
inline APtyRun RunOnTerminal(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& folder, const std::vector<std::pair<std::string, std::string>>& dialogue)
{
    std::vector<std::string> copies = arguments;
    std::string self = program;
    std::vector<char*> argv{self.data()};
    for (std::string& word : copies)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    APtyRun run;
    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        ::unsetenv("FENDRAL_PASSWORD");
        if (::chdir(folder.c_str()) == 0)
            ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    if (child < 0)
        return run;
    // Reads what the terminal shows until `wanted` appears after `from`, or the program ends.
    auto readUntil = [&](const std::string& wanted, std::size_t from) {
        char buffer[4096];
        for (;;) {
            if (!wanted.empty() && run.screen.find(wanted, from) != std::string::npos)
                return true;
            pollfd ready{master, POLLIN, 0};
            if (::poll(&ready, 1, 20'000) <= 0)
                return false;
            const ssize_t got = ::read(master, buffer, sizeof buffer);
            if (got <= 0)
                return false;
            run.screen.append(buffer, static_cast<std::size_t>(got));
        }
    };
    std::size_t from = 0;
    for (const auto& [prompt, answer] : dialogue) {
        if (!readUntil(prompt, from))
            break;
        from = run.screen.size();
        const std::string line = answer + "\n";
        if (::write(master, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
            break;
    }
    readUntil("", 0);
    ::close(master);
    int status = 0;
    if (::waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}
