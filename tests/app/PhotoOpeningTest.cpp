// SPDX-License-Identifier: MIT
// Opening a photo: its name handed to a recording xdg-open under Xvfb.
#include <gtest/gtest.h>

#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTest>

#include "app/PhotoOpening.h"

// Runs under Xvfb on the xcb platform (the desktop_xvfb test), where Qt hands a file to
// xdg-open: the one found first on PATH here writes its arguments down.
TEST(DesktopXvfb, OpeningAPhotoHandsXdgOpenTheNameBytes)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs the xcb platform";
    QTemporaryDir bin; // xdg-open writes its arguments to xdg-open.argv beside itself
    QFile script(bin.filePath(QStringLiteral("xdg-open")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nprintf '%s\\n' \"$@\" > \"$0.part\" && mv \"$0.part\" \"$0.argv\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("PATH", QFile::encodeName(bin.path()) + ":" + qgetenv("PATH"));
    qunsetenv("BROWSER");
    qunsetenv("DEFAULT_BROWSER");

    ASSERT_TRUE(OpenPhoto("/photos/Caf\xe9 & \"Bar\"/bad\xff name.jpg"));
    QFile arguments(script.fileName() + QStringLiteral(".argv"));
    for (int wait = 0; wait < 500 && !arguments.exists(); ++wait)
        QTest::qWait(10);
    ASSERT_TRUE(arguments.open(QIODevice::ReadOnly));
    EXPECT_EQ(arguments.readAll(), "file:///photos/Caf%E9%20%26%20%22Bar%22/bad%FF%20name.jpg\n");
}
