// SPDX-License-Identifier: MIT
// Ctrl+A in a Qt file dialog's file list, made to take a folder of 100,000 photos.
//
// Qt's dialog answers every change of selection by writing the selected names into its
// file-name box and then looking each name up in its file system model, a search through
// the folder's entries: with n files selected that is n searches of n entries, minutes
// for tens of thousands of files. This filter selects the files itself, with the views'
// change signals held, and then fills the file-name box and enables the Open button as
// the dialog would, in one pass over the files.
#pragma once

#include <QObject>

class QAbstractItemView;
class QFileDialog;

class FileDialogSelectAll : public QObject {
public:
    // Watches the file views of dialog, which must use Qt's own widgets
    // (QFileDialog::DontUseNativeDialog); owned by dialog.
    explicit FileDialogSelectAll(QFileDialog& dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Selects every enabled file (never a folder) that view shows.
    void SelectAllFiles(QAbstractItemView& view);

    QFileDialog& m_dialog;
};
