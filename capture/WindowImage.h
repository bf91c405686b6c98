// SPDX-License-Identifier: MIT
// The Screenshot button's work: ask for a file name, let the window repaint where the save
// dialog stood, take the window's picture and write it as an image file.
#pragma once

#include <QString>

class QImage;
class QWidget;

// How long the window is given to repaint after the save dialog closes, in milliseconds.
constexpr int kRepaintWaitMilliseconds = 500;

// Asks for a file name (proposing initialName, PNG by default, asking before overwriting),
// waits waitMilliseconds while the window repaints (the user's input is dropped meanwhile),
// then saves the picture of window (written on a worker thread, behind a progress box with
// Cancel when it takes a while: controls/SaveProgress.h). A failure shows the "Error saving
// file" box on window, the reason on its second line. Returns true if a file was written; a
// cancelled dialog or save returns false and shows nothing.
bool SaveWindowImage(QWidget* window, const QString& initialName = QStringLiteral("Fotolot"),
    int waitMilliseconds = kRepaintWaitMilliseconds);

// Takes the picture of window and writes it to path with the encoder of extension.
// Returns true if the file was written; otherwise reason (if given) says why.
bool CaptureWindow(
    const QString& path, const QString& extension, QWidget* window, QString* reason = nullptr);

// The window's picture as it stands on the screen, frame and caption included, where the
// platform lets a program read the screen (X11); elsewhere the window's own rendering,
// without the frame. Null for a window of no size.
QImage GrabWindowPicture(QWidget* window);

// Returns after milliseconds, dispatching every event that arrives meanwhile except the
// user's input (mouse, wheel, keys, shortcuts, touch, drag and drop, hovering), which is
// dropped so that the window stays as the user left it; sooner only if the application
// is asked to quit.
void WaitWithMessages(int milliseconds);

// Dispatches every pending event of this thread.
void PumpMessages();
