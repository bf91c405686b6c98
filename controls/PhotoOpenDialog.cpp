// SPDX-License-Identifier: MIT
#include "controls/PhotoOpenDialog.h"

#include <QAbstractItemView>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeView>

PhotoOpenDialog::PhotoOpenDialog(QWidget* parent, const QString& caption)
    : QFileDialog(parent, caption)
{
    setFileMode(QFileDialog::ExistingFiles);
    setAcceptMode(QFileDialog::AcceptOpen);
    // The file views exist only in Qt's own dialog; a desktop portal's dialog may also
    // match name filters by letter case, and cameras write IMG_0001.JPG.
    setOption(QFileDialog::DontUseNativeDialog, true);
    connect(this, &QFileDialog::filesSelected, this,
        [this](const QStringList& files) { m_chosen = files; });
    // The list and detail views share one selection model.
    for (QAbstractItemView* view : findChildren<QAbstractItemView*>()) {
        if (!qobject_cast<QFileSystemModel*>(view->model()))
            continue; // the sidebar and the look-in box
        view->installEventFilter(this);
        if (auto* tree = qobject_cast<QTreeView*>(view)) {
            // Every row has the same height, so a repaint need not measure the rows above;
            // a heading shown pressed for a wholly selected column would look at every row.
            tree->setUniformRowHeights(true);
            tree->header()->setHighlightSections(false);
        }
    }
}

bool PhotoOpenDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress
        && static_cast<QKeyEvent*>(event)->matches(QKeySequence::SelectAll)) {
        if (auto* view = qobject_cast<QAbstractItemView*>(watched)) {
            SelectAllFiles(*view);
            return true;
        }
    }
    return QFileDialog::eventFilter(watched, event);
}

void PhotoOpenDialog::SelectAllFiles(QAbstractItemView& view)
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
    QStringList paths;
    int runStart = -1;
    for (int row = 0; row <= rows; ++row) {
        const QModelIndex index = row < rows ? model->index(row, 0, root) : QModelIndex();
        const bool file = index.isValid() && !model->isDir(index)
            && model->flags(index).testFlag(Qt::ItemIsEnabled);
        if (file) {
            names << index.data().toString();
            paths << model->filePath(index);
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
    m_allSelection = selectionModel->selection();
    m_allModel = selectionModel;
    m_allFolder = directory().absolutePath();
    m_allFiles = paths;
    for (QAbstractItemView* other : findChildren<QAbstractItemView*>()) {
        if (other->selectionModel() == selectionModel)
            other->viewport()->update();
    }

    // The file-name box shows the names as the dialog writes them: one name plain,
    // several each in double quotes, separated by spaces.
    if (names.size() > 1) {
        for (QString& name : names)
            name = QLatin1Char('"') + name + QLatin1Char('"');
    }
    if (auto* nameBox = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))) {
        const QSignalBlocker holdText(nameBox);
        nameBox->setText(names.join(QLatin1Char(' ')));
    }
    if (auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))) {
        if (QPushButton* open = buttons->button(QDialogButtonBox::Open))
            open->setEnabled(!names.isEmpty());
    }
}

void PhotoOpenDialog::accept()
{
    // The selection Ctrl+A made, still as it was: its files were listed a moment ago.
    // Any other selection, or typed names, go through the dialog's own checks.
    if (!m_allFiles.isEmpty() && m_allModel && m_allModel->selection() == m_allSelection
        && directory().absolutePath() == m_allFolder) {
        m_chosen = m_allFiles;
        QDialog::accept();
        return;
    }
    QFileDialog::accept();
}
