// SPDX-License-Identifier: MIT
// The program ends on SIGTERM and on a quit request during a scan and a save, as the close
// box ends it, and leaves no temporary file: each row runs the program (fotolot-end-probe)
// as a child process. A program that goes on is stopped by the timeout.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

TEST(ProgramEnd, EndsDuringAScanOrASaveWithTheCloseBoxStatus)
{
    const struct {
        const char* task;
        const char* how;
    } rows[] = {
        { "scan", "term" },
        { "sync", "term" },
        { "box", "term" },
        { "scan", "quit" },
        { "sync", "quit" },
        { "box", "quit" },
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::string(row.task) + " " + row.how);
        QTemporaryDir dir;
        for (int i = 0; i < 400; ++i)
            QFile(dir.filePath(QStringLiteral("p%1.jpg").arg(i))).open(QIODevice::WriteOnly);
        QProcess program;
        program.start(QStringLiteral(FOTOLOT_END_PROBE), { row.task, row.how, dir.path() });
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_EQ(program.readAllStandardOutput(), QByteArray(row.task));
        EXPECT_EQ(QDir(dir.path()).entryList({ ".fotolot-save-*" }, QDir::Files | QDir::Hidden),
            QStringList());
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("shot.png"))));
    }
}
