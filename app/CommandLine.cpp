// SPDX-License-Identifier: MIT
#include "app/CommandLine.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {
const char* const kUsage = "Usage: fotolot [--expanded] [PATH...]\n"
                           "Find photos by their camera settings.\n"
                           "\n"
                           "Reads the photos named, and every photo in the folders named\n"
                           "with their whole trees, as dropping them on the window does.\n"
                           "\n"
                           "  --expanded   start in the expanded window (the library view)\n"
                           "  --help       show this help and end\n"
                           "  --version    show the version and end\n"
                           "  --           every argument after it is a path\n";

// Qt's own options that take a value in the next argument, and those that take none.
const char* const kQtValueOptions[] = { "-platform", "-platformpluginpath", "-platformtheme",
    "-plugin", "-qwindowgeometry", "-qwindowicon", "-qwindowtitle", "-display", "-geometry",
    "-title", "-style", "-stylesheet", "-session", "-name", "-visual" };
const char* const kQtFlagOptions[] = { "-reverse", "-widgetcount", "-nograb", "-dograb", "-sync" };

bool Among(const std::string& arg, const char* const* first, const char* const* last)
{
    for (; first != last; ++first) {
        // "-style" and "--style"; "-style=fusion" too.
        const std::string option = *first;
        for (const std::string& form : { option, "-" + option })
            if (arg == form || arg.rfind(form + "=", 0) == 0)
                return true;
    }
    return false;
}

CommandLine Mistake(const std::string& text)
{
    CommandLine line;
    line.exitCode = 2;
    line.err = "fotolot: " + text + "\nTry 'fotolot --help' for more information.\n";
    return line;
}
} // namespace

CommandLine ParseCommandLine(
    const std::vector<std::string>& args, const std::string& cwd, const std::string& version)
{
    CommandLine line;
    line.qtArguments.push_back(args.empty() ? std::string("fotolot") : args.front());
    bool optionsEnd = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (!optionsEnd && arg.size() > 1 && arg[0] == '-') {
            if (arg == "--") {
                optionsEnd = true;
            } else if (arg == "--help" || arg == "-h") {
                CommandLine help;
                help.out = kUsage;
                return help;
            } else if (arg == "--version") {
                CommandLine shown;
                shown.out = "fotolot " + version + "\n";
                return shown;
            } else if (arg == "--expanded") {
                line.expanded = true;
            } else if (Among(arg, std::begin(kQtValueOptions), std::end(kQtValueOptions))) {
                line.qtArguments.push_back(arg);
                if (arg.find('=') == std::string::npos) {
                    if (i + 1 == args.size())
                        return Mistake("option '" + arg + "' needs a value");
                    line.qtArguments.push_back(args[++i]);
                }
            } else if (Among(arg, std::begin(kQtFlagOptions), std::end(kQtFlagOptions))) {
                line.qtArguments.push_back(arg);
            } else {
                return Mistake("unknown option '" + arg + "'");
            }
            continue;
        }
        if (arg.empty())
            return Mistake("an empty path names no file");
        std::string relative = arg;
        while (relative.rfind("./", 0) == 0 && relative.size() > 2)
            relative.erase(0, 2);
        std::string path = arg[0] == '/' ? arg
            : relative == "."            ? cwd
                                         : (cwd == "/" ? "" : cwd) + "/" + relative;
        while (path.size() > 1 && path.back() == '/')
            path.pop_back();
        struct stat status { };
        if (stat(path.c_str(), &status) != 0)
            return Mistake("cannot read '" + arg + "': " + std::strerror(errno));
        line.paths.push_back(std::move(path));
    }
    line.run = true;
    return line;
}
