// SPDX-License-Identifier: MIT
// The desktop's own open dialog as a scan run uses it, driven with keys.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include "controls/DesktopSeam.h"
#include "scan/ScanChoice.h"

// The file view the open dialog shows, once it lists rows entries.
static QAbstractItemView* ShownFileView(QFileDialog& dialog, int rows)
{
    for (int wait = 0; wait < 500; ++wait) {
        for (QAbstractItemView* view : dialog.findChildren<QAbstractItemView*>()) {
            auto* model = qobject_cast<QFileSystemModel*>(view->model());
            if (view->isVisible() && model && model->rowCount(view->rootIndex()) == rows)
                return view;
        }
        QTest::qWait(10);
    }
    return nullptr;
}

// Runs the scan run's open dialog in the current folder; act drives it once it is up.
static ScanItems ChooseWith(const std::function<void(QFileDialog&)>& act)
{
    QTimer::singleShot(0, [act] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        act(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    return ChoosePhotoFiles(nullptr);
}

// Ctrl+A selects every photo the filter shows ("*.jpg" matches .JPG), never a folder,
// writes their names into the name box as the dialog does, and Enter hands them over,
// also after a click on a folder; a name typed without an extension opens name.jpg.
TEST(OpenDialog, CtrlAAndEnterOrATypedNameHandOverThePhotos)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Sub")));
    for (const char* name : { "IMG_0001.JPG", "IMG_0002.jpg", "beach.jpg", "notes.txt",
             "Sub/inner.jpg", "IMG_0003.HEIC", "raw.Cr3" })
        ASSERT_TRUE(QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(dir.path()); // where the dialog opens
    auto path = [&dir](const char* name) {
        return QFile::encodeName(dir.filePath(QString::fromLatin1(name))).toStdString();
    };

    const ScanItems all = ChooseWith([](QFileDialog& dialog) {
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_TRUE(types && types->count() == 3);
        EXPECT_EQ(types->itemText(0) + '|' + types->itemText(1) + '|' + types->itemText(2),
            "JPEG files (*.jpg)|all files (*)|Photos (*.3fr *.arw *.avif *.cr2 *.cr3 *.dcr *.dng "
            "*.erf *.heic *.heif *.hif *.iiq *.jpe *.jpeg *.jpg *.jxl *.kdc *.mef *.mos *.mrw "
            "*.nef *.nrw *.orf *.pef *.png *.raf *.rw2 *.sr2 *.srf *.srw *.tif *.tiff *.webp)");
        QAbstractItemView* view = ShownFileView(dialog, 4); // Sub and three photos
        ASSERT_NE(view, nullptr);
        // The folder clicked first must not be what Enter opens.
        const QModelIndex folder = view->model()->index(0, 0, view->rootIndex());
        ASSERT_EQ(folder.data().toString(), QStringLiteral("Sub"));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(folder).center());
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(),
            QStringLiteral("\"beach.jpg\" \"IMG_0001.JPG\" \"IMG_0002.jpg\""));
        QTest::keyClick(view, Qt::Key_Return);
    });
    EXPECT_EQ(all, (ScanItems { path("beach.jpg"), path("IMG_0001.JPG"), path("IMG_0002.jpg") }));

    const ScanItems typed = ChooseWith([](QFileDialog& dialog) {
        ASSERT_NE(ShownFileView(dialog, 4), nullptr);
        auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setFocus();
        QTest::keyClicks(name, QStringLiteral("beach"));
        QTest::keyClick(name, Qt::Key_Return);
    });
    EXPECT_EQ(typed, ScanItems { path("beach.jpg") });

    // The Photos filter, chosen with the keys, shows the HEIC and the CR3 too.
    const ScanItems photos = ChooseWith([](QFileDialog& dialog) {
        auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        ASSERT_NE(types, nullptr);
        types->setFocus();
        QTest::keyClick(types, Qt::Key_End);
        ASSERT_EQ(types->currentIndex(), 2);
        QAbstractItemView* view = ShownFileView(dialog, 6);
        ASSERT_NE(view, nullptr);
        view->setFocus();
        QTest::keyClick(view, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_Return);
    });
    EXPECT_EQ(photos,
        (ScanItems { path("beach.jpg"), path("IMG_0001.JPG"), path("IMG_0002.jpg"),
            path("IMG_0003.HEIC"), path("raw.Cr3") }));
    QDir::setCurrent(previous);
}
