// SPDX-License-Identifier: MIT
#include "controls/DesktopSeam.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QUrl>

#include <algorithm>

#include "controls/PhotoOpenDialog.h"
#include "controls/SaveFileDialog.h"

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
    SaveFileDialog dialog(parent);
    dialog.setNameFilter(filter);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.selectFile(proposedName);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    return dialog.ChosenPath();
}

void QtDesktopSeam::ShowError(
    QWidget* parent, const QString& caption, const QString& text, const QString& reason)
{
    QMessageBox box(QMessageBox::Critical, caption, text, QMessageBox::Ok, parent);
    box.setInformativeText(reason);
    // A box is as wide as its main text, and a short one (the screenshot's is empty) makes it
    // so narrow that the window manager cuts the caption ("Er...le") and the reason wraps
    // after a word or two. A spacer as wide as the caption in a bold title font plus room for
    // the frame's icon and buttons, or as the reason beside the icon (up to a limit), keeps
    // both whole.
    QFont titleFont = box.font();
    titleFont.setBold(true);
    const QFontMetrics title(titleFont);
    const QFontMetrics body(box.font());
    constexpr int kWidestReason = 480;
    const int width = std::max(title.horizontalAdvance(caption) + 10 * title.height(),
        std::min(body.horizontalAdvance(reason), kWidestReason) + 4 * body.height());
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
            grid->rowCount(), 0, 1, grid->columnCount());
    box.exec();
}

bool QtDesktopSeam::OpenWithDesktop(const QUrl& url)
{
    return QDesktopServices::openUrl(url);
}
