// SPDX-License-Identifier: MIT
#pragma once

// The application object: runs the main window and tells when the program is done.
class CFotolotApp {
public:
    // Runs the main window modally until it closes. Returns false: the program then ends
    // rather than going on with a loop of its own.
    bool InitInstance();

    // Runs InitInstance inside the application's event loop, so that a quit request reaches
    // it, and ends the program on SIGTERM, SIGINT and SIGHUP too (ProgramEnd). Returns the
    // program's exit status. The QApplication must exist.
    int Run();
};
