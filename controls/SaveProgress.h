// SPDX-License-Identifier: MIT
// A save from the window: the bytes are written on a thread of their own, so that a slow
// target (a FIFO whose reader stalls, a network share) never freezes the window. A save that
// takes longer than a moment shows a small modal box with the file, the bytes written so
// far and Cancel.
#pragma once

#include <QDialog>
#include <QString>

#include "controls/SaveToPath.h"

class CTransparentStatic;
class QPaintEvent;
class QPushButton;
class QTimer;

// How long a save runs before its progress box shows, in milliseconds.
constexpr int kSaveProgressDelayMs = 500;

enum class SaveOutcome { Saved, Failed, Cancelled };

// Saves as SaveToPath does, on a worker thread. Meanwhile the window repaints and takes
// window-system events; the user's input waits until the save ends or its box shows. After
// showAfterMs the box "Saving file..." shows over parent; its Cancel (or Escape, or the close
// box) stops the save, which leaves a regular file as it was (a FIFO keeps what it has had).
// Returns Failed with reason set to the system's words, or Cancelled (also when the
// application is told to quit meanwhile, which never waits for the target).
SaveOutcome SaveWithProgress(QWidget* parent, const QString& path, FileWriter write,
    QString* reason, int showAfterMs = kSaveProgressDelayMs);

// The box: the file's path, the bytes written, Cancel. It closes itself when the save ends.
class SaveProgressDlg : public QDialog {
    Q_OBJECT
public:
    SaveProgressDlg(QWidget* parent, const QString& path, SaveControl& control);

    CTransparentStatic* m_fileLabel = nullptr;
    CTransparentStatic* m_writtenLabel = nullptr;
    QPushButton* m_cancelButton = nullptr;

public slots:
    // Cancel, Escape and the close box ask the save to stop; the box closes once it has.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ShowWritten();

    SaveControl& m_control;
    QTimer* m_timer = nullptr;
};
