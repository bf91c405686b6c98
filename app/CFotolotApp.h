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
};
