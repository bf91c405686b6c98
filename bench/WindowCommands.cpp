// SPDX-License-Identifier: MIT
#include "bench/WindowCommands.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/CMainDialog.h"
#include "bench/BenchApplication.h"
#include "bench/BenchArgs.h"
#include "bench/BenchReport.h"
#include "catalogue/ExifReader.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/ScanLoop.h"
#include "controls/DesktopSeam.h"
#include "tests/support/CorpusPhoto.h"

namespace {

// Answers the file dialog with the benchmark's paths and nothing else.
class BenchDesktop : public DesktopSeam {
public:
    QStringList paths;
    QStringList ChooseFilesToOpen(
        QWidget*, const QString&, const QStringList&, const QString&) override
    {
        return paths;
    }
    QString ChooseFolder(QWidget*, const QString&) override { return {}; }
    QString ChooseSaveFile(QWidget*, const QString&, const QString&, const QString&) override
    {
        return {};
    }
    void ShowError(QWidget*, const QString&, const QString&, const QString&) override { }
    bool OpenWithDesktop(const QUrl&) override { return false; }
};

// Shows the window and waits until it has been painted once.
void ShowAndSettle(CMainDialog& dialog)
{
    dialog.show();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
}

// A rational the file leaves out reads as 0, as the reader gives it.
double ValueOf(const CorpusRational& rational)
{
    return rational.Present() ? rational.Value() : 0;
}

// A photo with a realistic spread of settings, as the corpus generator draws them.
void FillGeneratedCatalogue(PhotoCatalogue& catalogue, int count)
{
    CorpusRandom random(1);
    BeginScan(catalogue);
    ResetValueTables(catalogue);
    for (int i = 0; i < count; ++i) {
        const CorpusPhoto photo = DrawCorpusPhoto(random);
        PhotoRecord& record = *catalogue.spare;
        char name[64];
        std::snprintf(name, sizeof name, "/photos/%03d/IMG_%06d.JPG", i / 1000, i);
        record.path = name;
        record.camera = photo.make + " " + photo.model;
        record.fNumber = ValueOf(photo.fNumber);
        record.exposureTime = ValueOf(photo.exposureTime);
        record.focalLength = ValueOf(photo.focalLength);
        record.iso = photo.iso;
        record.fileSizeMb = FileSizeMb(photo.fileSize);
        AcceptSpareRecord(catalogue);
    }
    SortValueTables(catalogue);
}

double SecondsOf(const QElapsedTimer& timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int RunWindowScanCommand(int argc, char** argv)
{
    BenchRunOptions options;
    if (!ParseRunOptions("window-scan", argc, argv, options))
        return 2;
    const BenchApplication application;

    BenchDesktop desktop;
    for (const std::string& path : options.paths)
        desktop.paths << QFile::decodeName(QByteArray::fromStdString(path));
    SetDesktop(&desktop);

    std::vector<double> seconds;
    std::size_t accepted = 0;
    {
        CMainDialog dialog;
        ShowAndSettle(dialog);
        for (int run = 0; run < options.repeat; ++run) {
            QElapsedTimer timer;
            timer.start();
            dialog.OnOpen();
            seconds.push_back(SecondsOf(timer));
            accepted = static_cast<std::size_t>(dialog.m_catalogue.recordCount);
        }
    }
    SetDesktop(nullptr);
    PrintSummary(stderr, options.paths.size(), accepted, MedianSeconds(seconds));
    if (options.rusage)
        PrintPeakRss(stderr);
    return 0;
}

int RunWindowQueryCommand(int argc, char** argv)
{
    if (argc != 1 || std::atoi(argv[0]) <= 0) {
        std::fprintf(stderr, "usage: fotolot-bench window-query COUNT\n");
        return 2;
    }
    const int count = std::atoi(argv[0]);
    const BenchApplication application;

    CMainDialog dialog;
    FillGeneratedCatalogue(dialog.m_catalogue, count);
    dialog.FillSelectorsFromCatalogue();
    ShowAndSettle(dialog);

    QElapsedTimer timer;
    timer.start();
    dialog.OnQuery();
    dialog.repaint();
    std::printf("query of %d photos: %d listed in %.4f s\n", count, dialog.ListedRowCount(),
        SecondsOf(timer));

    timer.restart();
    dialog.OnHeaderItemClick(2);
    dialog.repaint();
    std::printf("sort: %.4f s\n", SecondsOf(timer));

    timer.restart();
    dialog.m_showCombo->setCurrentIndex(FocalLength); // as the user's choice does
    dialog.OnSelchangeShow();
    dialog.repaint();
    std::printf("show: %.4f s\n", SecondsOf(timer));
    return 0;
}
