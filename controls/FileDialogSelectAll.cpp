// SPDX-License-Identifier: MIT
#include "controls/FileDialogSelectAll.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QItemSelection>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStringList>
#include <QTreeView>

FileDialogSelectAll::FileDialogSelectAll(QFileDialog& dialog)
    : QObject(&dialog)
    , m_dialog(dialog)
{
    // The dialog's list and detail views share one selection model.
    for (QAbstractItemView* view : dialog.findChildren<QAbstractItemView*>()) {
        if (!qobject_cast<QFileSystemModel*>(view->model()))
            continue; // the sidebar and the look-in box
        view->installEventFilter(this);
        // Every row has the same height: the detail view need not measure each row above
        // one it repaints.
        if (auto* tree = qobject_cast<QTreeView*>(view))
            tree->setUniformRowHeights(true);
    }
}

bool FileDialogSelectAll::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::SelectAll)) {
        if (auto* view = qobject_cast<QAbstractItemView*>(watched)) {
            SelectAllFiles(*view);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void FileDialogSelectAll::SelectAllFiles(QAbstractItemView& view)
{
    auto* model = qobject_cast<QFileSystemModel*>(view.model());
    QItemSelectionModel* selectionModel = view.selectionModel();
    if (!model || !selectionModel)
        return;
    // Contiguous runs of files become one range each; folders come first in the dialog's
    // order, so a plain folder of photos is a single range.
    const QModelIndex root = view.rootIndex();
    const int rows = model->rowCount(root);
    QItemSelection selection;
    QStringList names;
    int runStart = -1;
    for (int row = 0; row <= rows; ++row) {
        const QModelIndex index = row < rows ? model->index(row, 0, root) : QModelIndex();
        const bool file = index.isValid() && !model->isDir(index)
            && model->flags(index).testFlag(Qt::ItemIsEnabled);
        if (file) {
            names << index.data().toString();
            if (runStart < 0)
                runStart = row;
        } else if (runStart >= 0) {
            selection.select(model->index(runStart, 0, root), model->index(row - 1, 0, root));
            runStart = -1;
        }
    }
    {
        const QSignalBlocker holdSelection(selectionModel);
        selectionModel->select(
            selection, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        // Enter opens the current entry: that must be one of the files, not a folder the
        // user clicked before, which Enter would open instead.
        if (!selection.isEmpty() && !selection.contains(selectionModel->currentIndex()))
            selectionModel->setCurrentIndex(
                selection.constFirst().topLeft(), QItemSelectionModel::NoUpdate);
    }
    for (QAbstractItemView* other : m_dialog.findChildren<QAbstractItemView*>()) {
        if (other->selectionModel() == selectionModel)
            other->viewport()->update();
    }

    // The file-name box shows the names as the dialog writes them: one name plain,
    // several each in double quotes, separated by spaces.
    if (names.size() > 1) {
        for (QString& name : names)
            name = QLatin1Char('"') + name + QLatin1Char('"');
    }
    if (auto* nameBox = m_dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        const QSignalBlocker holdText(nameBox);
        nameBox->setText(names.join(QLatin1Char(' ')));
    }
    if (auto* buttons = m_dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))) {
        if (QPushButton* open = buttons->button(QDialogButtonBox::Open))
            open->setEnabled(!names.isEmpty());
    }
}
