// SPDX-License-Identifier: MIT
#include "bench/BenchArgs.h"

#include <cstdio>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>

bool AppendListFile(
    const std::string& listPath, std::vector<std::string>& paths, std::string& error)
{
    std::ifstream in(listPath);
    if (!in) {
        error = "cannot read list " + listPath + ": " + std::strerror(errno);
        return false;
    }
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            paths.push_back(line);
    }
    if (in.bad()) {
        error = "error reading list " + listPath;
        return false;
    }
    return true;
}

bool ParseRunOptions(int argc, char** argv, BenchRunOptions& options, std::string& error)
{
    bool optionsDone = false;
    for (int i = 0; i < argc; ++i) {
        const std::string arg = argv[i];
        if (!optionsDone && arg == "--") {
            optionsDone = true;
        } else if (!optionsDone && arg == "--repeat") {
            if (i + 1 >= argc) {
                error = "--repeat needs a count";
                return false;
            }
            char* end = nullptr;
            errno = 0;
            const long n = std::strtol(argv[++i], &end, 10);
            if (errno != 0 || *end != '\0' || n < 1 || n > 1000) {
                error = std::string("--repeat takes 1 to 1000, not ") + argv[i];
                return false;
            }
            options.repeat = static_cast<int>(n);
        } else if (!optionsDone && arg == "--rusage") {
            options.rusage = true;
        } else if (!optionsDone && arg == "--all-fields") {
            options.allFields = true;
        } else if (!optionsDone && arg == "--expanded") {
            options.expanded = true;
        } else if (!optionsDone && arg.size() > 2 && arg[0] == '-' && arg[1] == '-') {
            error = "unknown option " + arg;
            return false;
        } else if (arg.size() > 1 && arg[0] == '@') {
            if (!AppendListFile(arg.substr(1), options.paths, error))
                return false;
        } else {
            options.paths.push_back(arg);
        }
    }
    return true;
}

bool ParseRunOptions(const char* command, int argc, char** argv, BenchRunOptions& options)
{
    std::string error;
    if (ParseRunOptions(argc, argv, options, error))
        return true;
    std::fprintf(stderr, "fotolot-bench %s: %s\n", command, error.c_str());
    return false;
}
