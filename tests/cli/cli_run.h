#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace tama05::test {

// One run of the real tama05-cli: exit status, standard output and standard error.
struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string ShellQuote(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs the built program with args; stderr goes through a file in scratch (not a terminal).
inline CliRun RunCli(const std::vector<std::string>& args, const std::filesystem::path& scratch) {
    std::string command = ShellQuote(std::string(TAMA05_PROGRAM_DIR) + "/tama05-cli");
    for (const std::string& arg : args) {
        command += " " + ShellQuote(arg);
    }
    const std::string errPath = (scratch / "stderr.txt").string();
    command += " 2>" + ShellQuote(errPath);
    CliRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return run;
    }
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        run.out.append(buffer, n);
    }
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    std::ifstream err(errPath);
    run.err.assign(std::istreambuf_iterator<char>(err), {});
    return run;
}

}  // namespace tama05::test
