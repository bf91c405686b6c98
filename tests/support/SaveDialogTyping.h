// SPDX-License-Identifier: MIT
// Answers the next save dialog of the Qt desktop seam as a user does: the proposed name in
// the file-name box is selected, the text typed over it and Return pressed.
#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QString>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

inline void TypeIntoNextSaveDialog(const QString& text)
{
    // Runs once the dialog's own event loop has started, the dialog shown.
    QTimer::singleShot(0, [text] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        auto* edit
            = dialog ? dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")) : nullptr;
        if (!edit) {
            ADD_FAILURE() << "no save dialog with a file-name box";
            if (QWidget* modal = QApplication::activeModalWidget())
                modal->close();
            return;
        }
        // The user types into the active dialog's focused box (Qt's dialog follows a typed
        // text in its file list only then).
        QApplication::setActiveWindow(dialog);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, text);
        // The completion list may have opened over the box as the folders were typed; a user
        // would close it before confirming the name.
        if (edit->completer() && edit->completer()->popup())
            edit->completer()->popup()->hide();
        QTest::keyClick(edit, Qt::Key_Return);
        if (dialog->isVisible()) {
            ADD_FAILURE() << "Return left the save dialog open for " << text.toStdString();
            dialog->reject();
        }
    });
}
