// SPDX-License-Identifier: MIT
// Files and folders dragged from a file manager onto the window: the drop starts a scan
// run over them, exactly as Open does, without a file dialog.
#include "app/CMainDialog.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>

#include <utility>

#include "app/DroppedItems.h"

namespace {
const char* const kUriListType = "text/uri-list";
} // namespace

ScanItems CMainDialog::DraggedItems(const QDropEvent& event)
{
    const QMimeData* data = event.mimeData();
    if (!data || !(event.possibleActions() & Qt::CopyAction)
        || !data->hasFormat(QString::fromLatin1(kUriListType)))
        return {};
    return LocalPathsOfUriList(data->data(QString::fromLatin1(kUriListType)));
}

bool CMainDialog::AcceptDrag(QDropEvent& event) const
{
    // The program runs this window modally itself; any other modal window (the progress
    // dialog, a file dialog, the About box) has the user's attention, and the window
    // takes nothing meanwhile.
    const QWidget* modal = QApplication::activeModalWidget();
    if ((modal && modal != this) || DraggedItems(event).empty()) {
        event.ignore();
        return false;
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return true;
}

void CMainDialog::dragEnterEvent(QDragEnterEvent* event)
{
    m_dragTaken = AcceptDrag(*event);
}

void CMainDialog::dragMoveEvent(QDragMoveEvent* event)
{
    // Decided once on entering: the items need not be taken out of the drag at every
    // move. Copy stays the action whatever the keys held.
    if (m_dragTaken && (event->possibleActions() & Qt::CopyAction)) {
        event->setDropAction(Qt::CopyAction);
        event->accept();
    } else {
        event->ignore();
    }
}

void CMainDialog::dragLeaveEvent(QDragLeaveEvent*)
{
    m_dragTaken = false;
}

void CMainDialog::dropEvent(QDropEvent* event)
{
    const bool taken = std::exchange(m_dragTaken, false);
    if (!taken || !AcceptDrag(*event))
        return;
    // The run starts once the drop has returned, so that the file manager is not kept
    // waiting for the end of its drag while the photos are read.
    QMetaObject::invokeMethod(
        this,
        [this, items = DraggedItems(*event)] { RunScan([items](QWidget*) { return items; }); },
        Qt::QueuedConnection);
}
