// SPDX-License-Identifier: MIT
// The save dialog of the export and the screenshot: Qt's own file dialog, except that a
// typed name is taken whole. Qt reads a typed text that holds a quotation mark as a list of
// quoted names ("a" "b") and keeps only the quoted parts: a"b.csv would become b.csv in the
// folder shown. Here such a text is one name, completed as Qt completes a plain one.
#pragma once

#include <QFileDialog>
#include <QString>

// The full path a name typed into a save dialog stands for: "~" and a leading "~/" are the
// home folder, a relative name lies in folder, and defaultSuffix (if any) is added after a
// dot when the file name holds no dot.
QString TypedSavePath(
    const QString& typed, const QString& folder, const QString& defaultSuffix, const QString& home);

class SaveFileDialog : public QFileDialog {
    Q_OBJECT
public:
    explicit SaveFileDialog(QWidget* parent);

    // The chosen file's full path once exec() has returned Accepted.
    QString ChosenPath() const;

public slots:
    void accept() override;

private:
    QString m_typedPath; // set when the typed text held a quotation mark
};
