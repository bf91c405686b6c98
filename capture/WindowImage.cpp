// SPDX-License-Identifier: MIT
#include "capture/WindowImage.h"

#include "capture/Dib.h"
#include "capture/ImageExport.h"
#include "controls/DesktopSeam.h"
#include "controls/SaveProgress.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <utility>
#include <vector>

bool SaveWindowImage(QWidget* window, const QString& initialName, int waitMilliseconds)
{
    // The dialog is owned by the window so that it stays on top of it, as a save dialog
    // without an explicit owner is owned by the program's main window.
    const QString path = Desktop().ChooseSaveFile(window, initialName,
        QStringLiteral("Portable Network Graphics (*.png)"), QStringLiteral("png"));
    if (path.isEmpty())
        return false;

    // The window may be closed by an event dispatched while waiting.
    const QPointer<QWidget> guard(window);
    WaitWithMessages(waitMilliseconds);
    if (!guard)
        return false;

    // The picture is taken and encoded here; the file is written on a worker thread, behind
    // a progress box with Cancel when it takes a while.
    QString reason;
    QByteArray encoded;
    SaveOutcome outcome = SaveOutcome::Failed;
    if (EncodeDibAsImage(
            FileExtension(path), BitmapToDib(GrabWindowPicture(window)), &encoded, &reason))
        outcome = SaveWithProgress(window, path, EncodedImageWriter(std::move(encoded)), &reason);
    if (outcome == SaveOutcome::Failed)
        Desktop().ShowError(window, QStringLiteral("Error saving file"), QString(), reason);
    return outcome == SaveOutcome::Saved;
}

bool CaptureWindow(const QString& path, const QString& extension, QWidget* window, QString* reason)
{
    const std::vector<std::uint8_t> dib = BitmapToDib(GrabWindowPicture(window));
    return SaveDibAsImage(path, extension, dib, reason) == 1;
}

QImage GrabWindowPicture(QWidget* window)
{
    if (!window)
        return {};
    QWidget* topLevel = window->window();
    const QRect frame = topLevel->frameGeometry();
    if (frame.isEmpty())
        return {};
    // On X11 the screen's contents can be read: the root window's area under the frame
    // holds the window as the user sees it, decorations included. Off screen, partly
    // outside the screen, or on platforms that give no access to the screen (offscreen,
    // Wayland) the read fails and the window renders itself instead.
    if (QGuiApplication::platformName() == QLatin1String("xcb") && topLevel->isVisible()) {
        if (QScreen* screen = topLevel->screen()) {
            const QPixmap shot
                = screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height());
            if (!shot.isNull() && shot.deviceIndependentSize().toSize() == frame.size())
                return shot.toImage();
        }
    }
    return topLevel->grab().toImage();
}

namespace {
// The events that carry the user's hand: mouse, wheel, keys and the shortcuts they make,
// touch and tablet, gestures, input methods, drag and drop, hovering and what it opens.
bool IsUserInput(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonRelease:
    case QEvent::NonClientAreaMouseButtonDblClick:
    case QEvent::NonClientAreaMouseMove:
    case QEvent::Wheel:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel:
    case QEvent::TabletPress:
    case QEvent::TabletMove:
    case QEvent::TabletRelease:
    case QEvent::NativeGesture:
    case QEvent::Gesture:
    case QEvent::GestureOverride:
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
    case QEvent::Enter:
    case QEvent::Leave:
    case QEvent::HoverEnter:
    case QEvent::HoverMove:
    case QEvent::HoverLeave:
    case QEvent::ToolTip:
    case QEvent::WhatsThis:
        return true;
    default:
        return false;
    }
}

// While it lives, the application drops the user's input; painting, timers and window
// events go on.
class InputHeldBack : public QObject {
public:
    InputHeldBack() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputHeldBack() override { QCoreApplication::instance()->removeEventFilter(this); }
    InputHeldBack(const InputHeldBack&) = delete;
    InputHeldBack& operator=(const InputHeldBack&) = delete;

protected:
    bool eventFilter(QObject*, QEvent* event) override { return IsUserInput(event->type()); }
};
} // namespace

void WaitWithMessages(int milliseconds)
{
    if (milliseconds <= 0 || !QCoreApplication::instance())
        return;
    // Input is dropped rather than kept for later: a click on Open or a shortcut during the
    // wait would otherwise put a dialog over the window just before its picture is taken.
    const InputHeldBack held;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    // Ends early only when the application is asked to quit, which ends every event loop.
    loop.exec();
}

void PumpMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
