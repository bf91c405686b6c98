// SPDX-License-Identifier: MIT
#include "app/CFotolotApp.h"
#include "app/CommandLine.h"
#include "app/ProgramIcon.h"

#include <QApplication>
#include <QIcon>

#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {
CFotolotApp theApp;

std::string CurrentFolder()
{
    std::vector<char> buffer(4096);
    while (!getcwd(buffer.data(), buffer.size())) {
        if (buffer.size() >= (1u << 20))
            return "/";
        buffer.resize(buffer.size() * 2);
    }
    return buffer.data();
}
} // namespace

int main(int argc, char** argv)
{
    const CommandLine line = ParseCommandLine(
        std::vector<std::string>(argv, argv + argc), CurrentFolder(), FOTOLOT_VERSION);
    if (!line.run) {
        std::fputs(line.out.c_str(), stdout);
        std::fputs(line.err.c_str(), stderr);
        return line.exitCode;
    }
    // Qt sees its own options only; the paths and --expanded are ours.
    std::vector<std::string> qtArguments = line.qtArguments;
    std::vector<char*> qtArgv;
    for (std::string& argument : qtArguments)
        qtArgv.push_back(argument.data());
    qtArgv.push_back(nullptr);
    int qtArgc = static_cast<int>(qtArguments.size());
    QApplication application(qtArgc, qtArgv.data());
    // The application name stays the program file's name; only the version is given.
    QApplication::setApplicationVersion(QStringLiteral(FOTOLOT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(FOTOLOT_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());
    theApp.m_startExpanded = line.expanded;
    theApp.m_startPaths = line.paths;
    return theApp.Run();
}
