// Runs the built fendral-cli as a process and keeps what it printed and its exit code.
#pragma once

#include "core/TempFolder.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

struct ACliRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// Starts `program` with `arguments` in `folder`, standard input from `input` and its output
// into the two files (none: /dev/null). The child sees FENDRAL_PASSWORD only when
// `environment` ("NAME=VALUE" words) sets it.
inline pid_t StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& folder, const std::vector<std::string>& environment = {},
                          const std::string& input = "/dev/null", const std::string& outPath = "/dev/null",
                          const std::string& errPath = "/dev/null")
{
    std::vector<char*> argv;
    std::string self = program;
    argv.push_back(self.data());
    std::vector<std::string> copies = arguments;
    for (std::string& word : copies)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0) {
        ::unsetenv("FENDRAL_PASSWORD");
        for (const std::string& setting : environment) {
            const std::size_t equals = setting.find('=');
            ::setenv(setting.substr(0, equals).c_str(), setting.substr(equals + 1).c_str(), 1);
        }
        const int in = ::open(input.c_str(), O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (in < 0 || out < 0 || err < 0 || ::chdir(folder.c_str()) != 0)
            ::_exit(126);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    return child;
}

// The exit code of a started program once it ends; -1 when it was killed.
inline int WaitForProgram(pid_t child)
{
    int status = 0;
    if (child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status))
        return WEXITSTATUS(status);
    return -1;
}

// Runs `program` as StartProgram does and keeps what it printed and its exit code.
inline ACliRun RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& folder, const std::vector<std::string>& environment = {},
                          const std::string& input = "/dev/null")
{
    const std::string outPath = folder + "/.cli-stdout";
    const std::string errPath = folder + "/.cli-stderr";
    ACliRun run;
    run.exitCode = WaitForProgram(StartProgram(program, arguments, folder, environment, input, outPath, errPath));
    run.out = ReadTextFile(outPath);
    run.err = ReadTextFile(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return run;
}

// The fendral-cli of this build.
inline ACliRun RunCli(const std::vector<std::string>& arguments, const std::string& folder,
                      const std::vector<std::string>& environment = {})
{
    return RunProgram(FENDRAL_CLI, arguments, folder, environment);
}
