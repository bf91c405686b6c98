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

ScanItems CMainDialog::AcceptDrag(QDropEvent& event) const
{
    // The program runs this window modally itself; any other modal window (the progress
    // dialog, a file dialog, the About box) has the user's attention, and the window
    // takes nothing meanwhile.
    const QWidget* modal = QApplication::activeModalWidget();
    ScanItems items;
    if (!modal || modal == this)
        items = DraggedItems(event);
    if (items.empty()) {
        event.ignore();
        return {};
    }
    event.setDropAction(Qt::CopyAction);
    event.accept();
    return items;
}

void CMainDialog::dragEnterEvent(QDragEnterEvent* event)
{
    m_dragTaken = !AcceptDrag(*event).empty();
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
    if (!std::exchange(m_dragTaken, false))
        return;
    ScanItems items = AcceptDrag(*event);
    if (items.empty())
        return;
    // The run starts once the drop has returned, so that the file manager is not kept
    // waiting for the end of its drag while the photos are read.
    QMetaObject::invokeMethod(
        this, [this, items = std::move(items)] { RunScan([items](QWidget*) { return items; }); },
        Qt::QueuedConnection);
}
