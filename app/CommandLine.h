// SPDX-License-Identifier: MIT
// The program's arguments: `fotolot [--expanded] [PATH...]`, --help and --version. Taken
// apart before Qt starts, so that a mistake is told on stderr with exit status 2 before
// any window opens (or any display is needed).
#pragma once

#include <string>
#include <vector>

struct CommandLine {
    // What to do: run the window, or print text and end with exitCode.
    bool run = false;
    int exitCode = 0;
    std::string out; // for stdout (--help, --version)
    std::string err; // for stderr (a mistake)

    bool expanded = false; // --expanded: start in the expanded window
    // The paths to read, as the file system's bytes, made absolute and without a
    // trailing '/'; each exists.
    std::vector<std::string> paths;
    // The arguments Qt takes itself (argv[0] first): -platform NAME, -style NAME, ...
    std::vector<std::string> qtArguments;
};

// args is argv whole, argv[0] first. cwd is the current folder, for relative paths.
// version is the text --version prints after the program's name.
CommandLine ParseCommandLine(
    const std::vector<std::string>& args, const std::string& cwd, const std::string& version);
