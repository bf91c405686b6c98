// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// The application object: runs the main window and tells when the program is done.
class CFotolotApp {
public:
    // Runs the main window modally until it closes. Returns false: the program then ends
    // rather than going on with a loop of its own.
    bool InitInstance();

    // From the command line: start in the expanded window; the files and folders to read
    // once the window is up.
    bool m_startExpanded = false;
    std::vector<std::string> m_startPaths;

    // Runs InitInstance inside the application's event loop, so that a quit request reaches
    // it, and ends the program on SIGTERM, SIGINT and SIGHUP too (ProgramEnd). Returns the
    // program's exit status. The QApplication must exist.
    int Run();
};
