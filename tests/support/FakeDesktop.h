// SPDX-License-Identifier: MIT
// A desktop seam for tests: answers the file dialogs with prepared values and records
// every question and request. It installs itself for its lifetime.
#pragma once

#include <functional>

#include <QList>
#include <QUrl>
#include <QWidget>

#include "controls/DesktopSeam.h"

class FakeDesktop : public DesktopSeam {
public:
    ~FakeDesktop() override { SetDesktop(m_previous); }

    QStringList filesToOpen; // the open dialog's answer; empty: dismissed
    QString folderToOpen; // the folder chooser's answer; empty: dismissed
    QString saveTarget; // the save dialog's answer; empty: dismissed
    std::function<void(QWidget* parent)> whileChoosingFiles; // runs inside the open dialog
    std::function<void()> whileChoosingSave; // runs inside the save dialog
    std::function<void(QWidget* parent)> whileChoosingFolder; // runs inside the folder chooser

    // The save dialogs and error boxes in order: "parent|name|filter|suffix" and
    // "parent|caption|text|reason", parent being the parent's objectName (empty for none).
    QStringList calls;
    int openDialogs = 0, folderChoosers = 0;
    QList<QUrl> opened;
    bool openSucceeds = true; // false: as a desktop without a launcher

    QStringList ChooseFilesToOpen(
        QWidget* parent, const QString&, const QStringList&, const QString&) override
    {
        ++openDialogs;
        if (whileChoosingFiles)
            whileChoosingFiles(parent);
        return filesToOpen;
    }
    QString ChooseFolder(QWidget* parent, const QString&) override
    {
        ++folderChoosers;
        if (whileChoosingFolder)
            whileChoosingFolder(parent);
        return folderToOpen;
    }
    QString ChooseSaveFile(QWidget* parent, const QString& proposedName, const QString& filter,
        const QString& defaultSuffix) override
    {
        calls << Name(parent) + "|" + proposedName + "|" + filter + "|" + defaultSuffix;
        if (whileChoosingSave)
            whileChoosingSave();
        return saveTarget;
    }
    void ShowError(QWidget* parent, const QString& caption, const QString& text,
        const QString& reason) override
    {
        calls << Name(parent) + "|" + caption + "|" + text + "|" + reason;
    }
    bool OpenWithDesktop(const QUrl& url) override
    {
        opened.append(url);
        return openSucceeds;
    }

private:
    static QString Name(const QWidget* widget) { return widget ? widget->objectName() : QString(); }
    DesktopSeam* m_previous = SetDesktop(this);
};
