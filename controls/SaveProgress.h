// SPDX-License-Identifier: MIT
// A save from the window: the bytes are written on a thread of their own, so that a slow
// target (a FIFO whose reader stalls, a network share) never freezes the window. A save that
// takes longer than a moment shows a small modal box with the file, the bytes written so
// far and Cancel.
#pragma once

#include <QString>

#include "controls/SaveToPath.h"

class QWidget;

// How long a save runs before its progress box shows, in milliseconds.
constexpr int kSaveProgressDelayMs = 500;

enum class SaveOutcome { Saved, Failed, Cancelled };

// Saves as SaveToPath does, on a worker thread. Meanwhile the window repaints and takes
// window-system events; the user's input waits until the save ends or its box shows. After
// showAfterMs the box "Saving file..." shows over parent; its Cancel (or Escape, or the close
// box) stops the save, which leaves a regular file as it was (a FIFO keeps what it has had).
// Returns Failed with reason set to the system's words, or Cancelled. When the application
// is told to quit meanwhile the save is cancelled at once; one that then does not end within
// kSaveAbandonMs (a sync that takes its time) has its temporary file removed and is left to
// end on its own, so that the program can end.
SaveOutcome SaveWithProgress(QWidget* parent, const QString& path, FileWriter write,
    QString* reason, int showAfterMs = kSaveProgressDelayMs);

// How long an application that quits waits for a cancelled save, in milliseconds.
constexpr int kSaveAbandonMs = 300;
