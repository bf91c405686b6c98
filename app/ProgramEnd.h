// SPDX-License-Identifier: MIT
// Ends the program when the system or the desktop asks, as the close box would: SIGTERM,
// SIGINT and SIGHUP, and a quit request (QCoreApplication::quit(), as a session's logout
// sends). Every event loop is told to end: a scan run is cancelled and its worker joined, a
// save is cancelled and its temporary file removed, and the main window's exec() returns.
// A signal handler only writes the signal's number into a pipe; the user-interface thread
// reads it from there. One instance at a time, made after the application object.
#pragma once

#include <QObject>

class QSocketNotifier;

class ProgramEnd : public QObject {
    Q_OBJECT
public:
    ProgramEnd();
    ~ProgramEnd() override;
    ProgramEnd(const ProgramEnd&) = delete;
    ProgramEnd& operator=(const ProgramEnd&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnSignal();
    static void End();

    QSocketNotifier* m_notifier = nullptr;
};
