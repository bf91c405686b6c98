// SPDX-License-Identifier: MIT
#include "controls/SaveFileDialog.h"
#include "controls/DesktopSeam.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// A typed name stands for one path whatever it holds: quotation marks are part of the name,
// "~" and "~/" are the home folder but "~user" is not, and the default suffix is added only
// when the file name (not a folder on the way) has no dot.
TEST(TypedSavePath, TypedNameIsOnePathWithTheSuffixWhereItHasNoDot)
{
    const std::tuple<QString, QString, QString> rows[] = {
        { "~/exports/a\"b.csv", "csv", "/home/u/exports/a\"b.csv" },
        { "\"c\" \"d\"", "csv", "/f/\"c\" \"d\".csv" },
        { "e\"f.txt", "csv", "/f/e\"f.txt" },
        { "s\"hot", "png", "/f/s\"hot.png" },
        { "sub.d/plain", "csv", "/f/sub.d/plain.csv" },
        { "/abs/plain", "csv", "/abs/plain.csv" },
        { "~user/x", "csv", "/f/~user/x.csv" },
        { "plain", "", "/f/plain" },
    };
    for (const auto& [typed, suffix, chosen] : rows)
        EXPECT_EQ(TypedSavePath(typed, "/f", suffix, "/home/u").toStdString(), chosen.toStdString())
            << typed.toStdString();
}

// The Qt seam's save dialog takes a typed name whole: Qt's own parsing would turn
// ~/exports/a"b.csv into b.csv in the folder shown. A plain name goes through Qt's handling
// and gets the default suffix there.
TEST(SaveFileDialog, TypedNameIsTakenWhole)
{
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("exports")));
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    const QString exports = home.filePath(QStringLiteral("exports"));
    const std::tuple<QString, QString> rows[] = {
        { "~/exports/a\"b.csv", exports + "/a\"b.csv" },
        { "~/exports/plain", exports + "/plain.csv" },
    };
    for (const auto& [typed, chosen] : rows) {
        // Once the dialog's own event loop runs, the user selects the proposed name in the
        // box that has the focus, types over it (Qt's dialog follows the text only then),
        // closes the completion list if the folders typed opened it, and presses Return. A
        // dialog left open would stop the test: it is closed.
        QTimer::singleShot(0, [text = typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* edit = dialog ? qobject_cast<QLineEdit*>(dialog->focusWidget()) : nullptr;
            if (!edit) {
                ADD_FAILURE() << "no save dialog with the focus in a text box";
                if (QWidget* modal = QApplication::activeModalWidget())
                    modal->close();
                return;
            }
            QApplication::setActiveWindow(dialog);
            QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClicks(edit, text);
            if (edit->completer() && edit->completer()->popup())
                edit->completer()->popup()->hide();
            QTest::keyClick(edit, Qt::Key_Return);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "Return left the dialog open for " << text.toStdString();
                dialog->reject();
            }
        });
        const QString path = Desktop().ChooseSaveFile(
            nullptr, QStringLiteral("ExifList"), QStringLiteral("CSV files (*.csv)"), "csv");
        EXPECT_EQ(path.toStdString(), chosen.toStdString()) << typed.toStdString();
    }
    qputenv("HOME", previousHome);
}
