// SPDX-License-Identifier: MIT
// The small modal box of a long task over the gradient: "File:" and the file being
// handled, a second line counting what is done, and Cancel. The scan counts the photos
// read ("Scanning files...", "Total:"), the save the bytes written ("Saving file...",
// "Written:"). Cancel, Escape and the close box only say CancelPressed: the box stays up
// until its owner ends it once the task has stopped.
#pragma once

#include <QDialog>

class CTransparentStatic;
class QPaintEvent;
class QPushButton;

class ProgressBox : public QDialog {
    Q_OBJECT
public:
    enum class Task { Scan, Save };

    ProgressBox(Task task, QWidget* parent);

    CTransparentStatic* m_fileLabel = nullptr;
    CTransparentStatic* m_countLabel = nullptr; // the photos read, or the bytes written
    QPushButton* m_cancelButton = nullptr;

signals:
    void CancelPressed();

public slots:
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
