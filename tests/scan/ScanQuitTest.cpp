// SPDX-License-Identifier: MIT
// The scan run's progress dialog and its worker when the application is told to quit.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <csignal>
#include <string>
#include <vector>

#include <unistd.h>

#include "catalogue/PhotoCatalogue.h"
#include "controls/CTransparentStatic.h"
#include "scan/CScanProgressDlg.h"

// Told to quit during a walk (a session ending does so), the dialog returns Rejected once
// its worker has ended, letting the worker's last notices through instead of waiting for
// them: the run is cancelled and the catalogue left empty. The walk showed its first folder
// at once. A hang is ended by an alarm.
TEST(ScanProgressDlg, QuittingDuringAScanCancelsItAndReturns)
{
    QTemporaryDir dir;
    for (int folder = 0; folder < 40; ++folder)
        for (int file = 0; file < 20; ++file) {
            const QString path = dir.filePath(QStringLiteral("f%1/x%2.jpg").arg(folder).arg(file));
            QDir().mkpath(QFileInfo(path).path());
            QFile(path).open(QIODevice::WriteOnly);
        }
    PhotoCatalogue catalogue;
    CScanProgressDlg scan;
    scan.m_catalogue = &catalogue;
    scan.m_chooseItems
        = [&dir](QWidget*) { return ScanItems { QFile::encodeName(dir.path()).toStdString() }; };
    std::vector<int> codes;
    QString firstShown;
    QObject::connect(&scan, &CScanProgressDlg::NoticeHandled, [&](int code) {
        codes.push_back(code);
        if (codes.size() == 1) {
            firstShown = scan.m_fileText;
            QCoreApplication::exit(0);
        }
    });
    ::alarm(60);
    const int result = scan.exec();
    ::alarm(0);
    EXPECT_EQ(result, QDialog::Rejected);
    ASSERT_FALSE(codes.empty());
    EXPECT_EQ(codes.front(), ScanFolder);
    EXPECT_EQ(firstShown, dir.path());
    EXPECT_EQ(codes.back(), ScanClose);
    EXPECT_EQ(catalogue.recordCount, 0);
    EXPECT_FALSE(catalogue.head);
    EXPECT_EQ(catalogue.progressWindow, nullptr);

    // Event loops run again for the tests that follow.
    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
}
