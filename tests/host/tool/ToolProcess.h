// A program run as a process of its own with a time limit, its output and errors kept, and the
// sanitizers told to stop at their first finding with a code of their own.
#pragma once

#include <juce_core/juce_core.h>

#include <chrono>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace tool_process
{
// Far beyond what one run of these small files takes, even under the sanitizers.
inline constexpr auto runLimit = std::chrono::seconds (60);
// A sanitizer that stops the program exits with this code, so that it cannot pass for exit 1.
inline constexpr int sanitizerExitCode = 86;

struct Outcome
{
    int code = -1; // the exit code, or -1 when the program was killed by a signal or the limit
    bool timedOut = false;
    std::string out, err;
};

// The environment with the sanitizers told to stop at the first finding with their own code.
inline std::vector<std::string> childEnvironment()
{
    std::vector<std::string> entries;
    std::string asan = "ASAN_OPTIONS=", ubsan = "UBSAN_OPTIONS=";
    for (char** entry = environ; *entry != nullptr; ++entry)
    {
        const std::string text (*entry);
        if (text.rfind (asan, 0) == 0)
            asan = text + ":";
        else if (text.rfind (ubsan, 0) == 0)
            ubsan = text + ":";
        else
            entries.push_back (text);
    }
    const std::string stop = "halt_on_error=1:exitcode=" + std::to_string (sanitizerExitCode);
    entries.push_back (asan + stop);
    entries.push_back (ubsan + stop);
    return entries;
}

// Runs the program with its output and errors in files of the folder ("tool.out", "tool.err"),
// killed at the limit.
inline Outcome runProgram (const std::string& program, const std::vector<std::string>& arguments, const juce::File& folder)
{
    const auto outFile = folder.getChildFile ("tool.out").getFullPathName().toStdString();
    const auto errFile = folder.getChildFile ("tool.err").getFullPathName().toStdString();
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init (&actions);
    posix_spawn_file_actions_addopen (&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen (&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    std::vector<std::string> argumentTexts { program };
    argumentTexts.insert (argumentTexts.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& text : argumentTexts)
        argv.push_back (text.data());
    argv.push_back (nullptr);
    auto environment = childEnvironment();
    std::vector<char*> envp;
    for (auto& text : environment)
        envp.push_back (text.data());
    envp.push_back (nullptr);

    Outcome outcome;
    pid_t pid = 0;
    const int spawned = posix_spawn (&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy (&actions);
    if (spawned != 0)
    {
        outcome.err = "cannot start " + program;
        return outcome;
    }

    const auto deadline = std::chrono::steady_clock::now() + runLimit;
    int status = 0;
    while (waitpid (pid, &status, WNOHANG) == 0)
    {
        if (std::chrono::steady_clock::now() > deadline)
        {
            kill (pid, SIGKILL);
            waitpid (pid, &status, 0);
            outcome.timedOut = true;
            break;
        }
        std::this_thread::sleep_for (std::chrono::milliseconds (2));
    }
    if (! outcome.timedOut && WIFEXITED (status))
        outcome.code = WEXITSTATUS (status);
    outcome.out = juce::File (outFile).loadFileAsString().toStdString();
    outcome.err = juce::File (errFile).loadFileAsString().toStdString();
    return outcome;
}

} // namespace tool_process
