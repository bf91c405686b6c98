// SPDX-License-Identifier: MIT
#include "capture/WindowImage.h"

#include "capture/Dib.h"
#include "capture/ImageExport.h"
#include "controls/DesktopSeam.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <cstdint>
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

    if (!CaptureWindow(path, FileExtension(path), window)) {
        Desktop().ShowError(window, QStringLiteral("Error saving file"), QString());
        return false;
    }
    return true;
}

bool CaptureWindow(const QString& path, const QString& extension, QWidget* window)
{
    const std::vector<std::uint8_t> dib = BitmapToDib(GrabWindowPicture(window));
    return SaveDibAsImage(path, extension, dib) == 1;
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

void WaitWithMessages(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    // Ends early only when the application is asked to quit, which ends every event loop.
    loop.exec();
}

void PumpMessages()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}
