// SPDX-License-Identifier: MIT
#pragma once

// The application object: runs the main window and tells when the program is done.
class CFotolotApp {
public:
    // Runs the main window modally until it closes. Returns false: the program then ends
    // rather than going on with a loop of its own.
    bool InitInstance();
};
