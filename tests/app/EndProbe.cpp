// SPDX-License-Identifier: MIT
// The program as it runs, with a fake desktop, for the tests of its end: fotolot-end-probe
// TASK HOW FOLDER runs the window, presses Open (reading FOLDER's photos) or Screenshot
// (saving FOLDER/shot.png, its sync taking a minute) and, once TASK is underway, asks the
// program to end as HOW says: "term" sends it SIGTERM, "quit" calls
// QCoreApplication::quit(). TASK is "scan" (after the first photo; each notice then
// takes 50 ms), "sync" (as the save syncs, before its box shows) or "box" (with the saving
// box up). It writes TASK on its standard output when it asks, and returns the program's
// own status.
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <cstring>
#include <thread>

#include <unistd.h>

#include "app/CFotolotApp.h"
#include "catalogue/PhotoCatalogue.h"
#include "controls/ProgressBox.h"
#include "controls/SaveToPath.h"
#include "scan/CScanProgressDlg.h"
#include "tests/support/FakeDesktop.h"

namespace {
const char* g_task = "";
bool g_term = false;

void AskToEnd()
{
    (void)!::write(STDOUT_FILENO, g_task, std::strlen(g_task));
    if (g_term)
        ::kill(::getpid(), SIGTERM);
    else
        QMetaObject::invokeMethod(
            qApp, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
}

int SlowFsync(int)
{
    if (std::strcmp(g_task, "sync") == 0)
        AskToEnd();
    std::this_thread::sleep_for(std::chrono::seconds(60));
    return 0;
}

class Watcher : public QObject {
protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Show)
            return false;
        if (auto* scan = qobject_cast<CScanProgressDlg*>(watched)) {
            connect(scan, &CScanProgressDlg::NoticeHandled, [](int code) {
                if (code == ScanProgress && !m_asked) {
                    m_asked = true;
                    AskToEnd();
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            });
        } else if (qobject_cast<ProgressBox*>(watched) && std::strcmp(g_task, "box") == 0) {
            AskToEnd();
        }
        return false;
    }
    static inline bool m_asked = false;
};
} // namespace

int main(int argc, char** argv)
{
    if (argc != 4)
        return 2;
    g_task = argv[1];
    g_term = std::strcmp(argv[2], "term") == 0;
    QApplication application(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[3]));
    FakeDesktop desktop;
    for (const QString& name : folder.entryList(QDir::Files))
        desktop.filesToOpen << folder.filePath(name);
    desktop.saveTarget = folder.filePath(QStringLiteral("shot.png"));
    SetSaveFileCalls({ nullptr, SlowFsync });
    Watcher watcher;
    application.installEventFilter(&watcher);
    QTimer::singleShot(100, [] {
        const bool scan = std::strcmp(g_task, "scan") == 0;
        for (QWidget* window : QApplication::topLevelWidgets())
            for (auto* button : window->findChildren<QPushButton*>())
                if (button->text() == (scan ? "Open" : "Screenshot"))
                    QTest::mouseClick(button, Qt::LeftButton);
    });
    return CFotolotApp().Run();
}
