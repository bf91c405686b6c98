// SPDX-License-Identifier: MIT
#include "app/CFotolotApp.h"
#include "app/ProgramIcon.h"

#include <QApplication>
#include <QIcon>

namespace {
CFotolotApp theApp;
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    // The application name stays the program file's name; only the version is given.
    QApplication::setApplicationVersion(QStringLiteral(FOTOLOT_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(FOTOLOT_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());
    return theApp.Run();
}
