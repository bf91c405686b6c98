// SPDX-License-Identifier: MIT
// Everything that asks the user or the desktop something goes through this interface:
// choosing files or a folder to open or a file to save, showing an error box, opening a
// file or an address with the desktop. The application installs the Qt implementation; tests
// install a fake and run the dialogs headless.
#pragma once

#include <QString>
#include <QStringList>

class QUrl;
class QWidget;

class DesktopSeam {
public:
    virtual ~DesktopSeam();

    // A multi-selection open dialog. filters are Qt name filters such as
    // "JPEG files (*.jpg)"; the first is selected. A name typed without an extension
    // gets defaultSuffix. Returns the chosen paths, or an empty list when the dialog was
    // dismissed.
    virtual QStringList ChooseFilesToOpen(QWidget* parent, const QString& caption,
        const QStringList& filters, const QString& defaultSuffix)
        = 0;

    // The desktop's folder chooser. Returns the chosen folder, or an empty string when
    // the chooser was dismissed.
    virtual QString ChooseFolder(QWidget* parent, const QString& caption) = 0;

    // A save dialog proposing proposedName, with the given filter and default suffix,
    // that asks before overwriting and takes a typed name whole. Returns the chosen path,
    // or an empty string when the dialog was dismissed.
    virtual QString ChooseSaveFile(QWidget* parent, const QString& proposedName,
        const QString& filter, const QString& defaultSuffix)
        = 0;

    // A modal box with the critical (stop) icon and one OK button, its caption shown
    // whole; reason, the system's words for what went wrong, is a second line below text
    // (none when empty).
    virtual void ShowError(
        QWidget* parent, const QString& caption, const QString& text, const QString& reason)
        = 0;

    // Opens a local file or a web address with the desktop's program for it.
    virtual bool OpenWithDesktop(const QUrl& url) = 0;
};

// The seam in use. Never null: the Qt implementation until SetDesktop installs another.
DesktopSeam& Desktop();

// Installs seam (not owned; nullptr restores the Qt implementation) and returns the
// previous one.
DesktopSeam* SetDesktop(DesktopSeam* seam);

// The Qt implementation: QFileDialog, QMessageBox and QDesktopServices.
class QtDesktopSeam : public DesktopSeam {
public:
    QStringList ChooseFilesToOpen(QWidget* parent, const QString& caption,
        const QStringList& filters, const QString& defaultSuffix) override;
    QString ChooseFolder(QWidget* parent, const QString& caption) override;
    QString ChooseSaveFile(QWidget* parent, const QString& proposedName, const QString& filter,
        const QString& defaultSuffix) override;
    void ShowError(QWidget* parent, const QString& caption, const QString& text,
        const QString& reason) override;
    bool OpenWithDesktop(const QUrl& url) override;
};
