// SPDX-License-Identifier: MIT
#pragma once

// open-dialog: shows the scan run's open dialog (the Qt one, through the desktop seam)
// in the current folder and waits for a person or xdotool to press Ctrl+A and Enter.
// Prints how long the dialog took from the Ctrl+A key and from the Enter key to hand
// over its files, and how many it handed over.
int RunOpenDialogCommand(int argc, char** argv);
