// SPDX-License-Identifier: MIT
#include "bench/WindowCommands.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QFile>
#include <QTreeWidget>
#include <QUrl>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/CMainDialog.h"
#include "app/ExpandedPanel.h"
#include "app/MainDialogDriver.h"
#include "bench/BenchApplication.h"
#include "bench/BenchArgs.h"
#include "bench/BenchReport.h"
#include "catalogue/ExifReader.h"
#include "catalogue/PhotoCatalogue.h"
#include "catalogue/ScanLoop.h"
#include "chart/ChartBins.h"
#include "controls/DesktopSeam.h"
#include "query/BoundSelectors.h"
#include "query/PhotoQuery.h"
#include "query/ResultColumns.h"
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

// Where the expanded window's Show list holds the chart by name of kind.
int ShowIndex(ChartNameKind kind)
{
    const std::vector<ShowEntry> entries = ShowEntries(true);
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (entries[i].nameKind == kind)
            return static_cast<int>(i);
    return -1;
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
        record.lens = photo.lens;
        record.taken = ParseExifDateTime(photo.dateTime);
        record.focal35 = photo.focal35;
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
        const CMainDialog::Driver ui(dialog);
        ShowAndSettle(dialog);
        for (int run = 0; run < options.repeat; ++run) {
            QElapsedTimer timer;
            timer.start();
            ui.Open();
            seconds.push_back(SecondsOf(timer));
            accepted = static_cast<std::size_t>(ui.Catalogue().recordCount);
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
    const CMainDialog::Driver ui(dialog);
    FillGeneratedCatalogue(ui.Catalogue(), count);
    dialog.FillSelectorsFromCatalogue();
    ShowAndSettle(dialog);

    QElapsedTimer timer;
    timer.start();
    ui.Query();
    dialog.repaint();
    std::printf("query of %d photos: %d listed in %.4f s\n", count, dialog.ListedRowCount(),
        SecondsOf(timer));

    timer.restart();
    ui.Sort(2);
    dialog.repaint();
    std::printf("sort: %.4f s\n", SecondsOf(timer));

    timer.restart();
    ui.Show(FocalLength);
    dialog.repaint();
    std::printf("show: %.4f s\n", SecondsOf(timer));

    // The expanded window: switching it on, a query with the panel's filters set (one
    // lens left out, a day span narrowed, the rule unchecked, an aperture bound moved) and
    // its faceted counts, Show by lens, switching off.
    timer.restart();
    ui.Expand(true);
    dialog.repaint();
    std::printf("switch on: %.4f s\n", SecondsOf(timer));
    ExpandedPanel& panel = *ui.Panel();
    if (panel.m_lensList->topLevelItemCount() > 1)
        panel.m_lensList->topLevelItem(0)->setCheckState(0, Qt::Unchecked);
    panel.m_takenFrom->setDate(panel.m_takenFrom->date().addYears(2));
    panel.m_withoutValuePasses->setChecked(false);
    ui.ApertureMinCombo()->setCurrentIndex(1);
    timer.restart();
    ui.Query();
    dialog.repaint();
    std::printf("panel query of %d photos with faceted counts: %d listed in %.4f s\n", count,
        dialog.ListedRowCount(), SecondsOf(timer));
    timer.restart();
    ui.Sort(LensColumn);
    dialog.repaint();
    std::printf("sort by lens: %.4f s\n", SecondsOf(timer));
    timer.restart();
    ui.Show(ShowIndex(ChartNameKind::Lens));
    dialog.repaint();
    std::printf("show lens: %.4f s\n", SecondsOf(timer));
    timer.restart();
    ui.Expand(false);
    dialog.repaint();
    std::printf("switch off: %.4f s\n", SecondsOf(timer));
    PrintPeakRss(stdout);
    return 0;
}

int RunQueryCommand(int argc, char** argv)
{
    if (argc != 1) {
        std::fprintf(stderr, "usage: fotolot-bench query COUNT\n");
        return 2;
    }
    const int count = std::atoi(argv[0]);
    PhotoCatalogue catalogue;
    FillGeneratedCatalogue(catalogue, count);
    const PanelFill fill = FillPanel(catalogue);
    PanelFilters panel;
    for (const NameLine& line : fill.cameras) {
        panel.cameras.push_back(line.name);
        panel.camerasChosen.push_back(true);
    }
    for (const NameLine& line : fill.lenses) {
        panel.lenses.push_back(line.name);
        panel.lensesChosen.push_back(panel.lensesChosen.size() % 2 == 0);
    }
    panel.firstDay = fill.firstDay;
    panel.lastDay = fill.lastDay;
    panel.fromDay = fill.firstDay + 20000; // two years later
    panel.toDay = fill.lastDay;
    panel.withoutValuePasses = false;
    const BoundSelectors selectors = FillBoundSelectors(catalogue);
    QueryBounds bounds;
    bounds[Aperture] = ListSelection(1, selectors.lists[Aperture].upperIndex);
    bounds[Iso] = ListSelection(0, selectors.lists[Iso].upperIndex);
    bounds[ShutterSpeed] = ListSelection(0, selectors.lists[ShutterSpeed].upperIndex);
    bounds[FocalLength] = TextBounds(
        selectors.texts[FocalLength].lowerText, selectors.texts[FocalLength].upperText);
    std::vector<double> seconds;
    std::size_t listed = 0;
    for (int run = 0; run < 9; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QueryResult result = RunQuery(catalogue, bounds, &panel);
        seconds.push_back(SecondsOf(timer));
        listed = result.rows.size();
    }
    std::printf("query of %d photos with panel filters and faceted counts: %zu listed, median "
                "%.4f s of 9\n",
        count, listed, MedianSeconds(seconds));
    PrintPeakRss(stdout);
    return 0;
}
