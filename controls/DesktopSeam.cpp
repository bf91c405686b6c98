// SPDX-License-Identifier: MIT
#include "controls/DesktopSeam.h"

#include "controls/PhotoOpenDialog.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QUrl>

DesktopSeam::~DesktopSeam() = default;

namespace {
QtDesktopSeam& QtSeam()
{
    static QtDesktopSeam seam;
    return seam;
}
DesktopSeam* g_desktop = nullptr;
} // namespace

DesktopSeam& Desktop()
{
    return g_desktop ? *g_desktop : QtSeam();
}

DesktopSeam* SetDesktop(DesktopSeam* seam)
{
    DesktopSeam* previous = g_desktop;
    g_desktop = seam;
    return previous;
}

QStringList QtDesktopSeam::ChooseFilesToOpen(QWidget* parent, const QString& caption,
    const QStringList& filters, const QString& defaultSuffix)
{
    PhotoOpenDialog dialog(parent, caption);
    dialog.setNameFilters(filters);
    dialog.setDefaultSuffix(defaultSuffix);
    // Cameras write IMG_0001.JPG: "*.jpg" must match regardless of letter case. Qt's own
    // dialog matches name filters case-insensitively unless QDir::CaseSensitive is set.
    dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.ChosenFiles();
}

QString QtDesktopSeam::ChooseFolder(QWidget* parent, const QString& caption)
{
    QFileDialog dialog(parent, caption);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString QtDesktopSeam::ChooseSaveFile(QWidget* parent, const QString& proposedName,
    const QString& filter, const QString& defaultSuffix)
{
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void QtDesktopSeam::ShowError(QWidget* parent, const QString& caption, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtDesktopSeam::OpenWithDesktop(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
