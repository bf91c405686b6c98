// SPDX-License-Identifier: MIT
#include "controls/DesktopSeam.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

// The Qt seam's save dialog takes a typed name whole, quotation marks included: Qt's own
// parsing would turn ~/exports/a"b.csv into b.csv in the folder shown. A name without a
// dot gets the default suffix; a plain name goes through Qt's handling unchanged.
TEST(SaveFileDialog, TypedNameIsTakenWhole)
{
    QTemporaryDir home;
    ASSERT_TRUE(QDir(home.path()).mkdir(QStringLiteral("exports")));
    const QByteArray previousHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    const QString exports = home.filePath(QStringLiteral("exports"));
    const QString csv = QStringLiteral("CSV files (*.csv)");
    const QString png = QStringLiteral("Portable Network Graphics (*.png)");
    const std::tuple<QString, QString, QString, QString> rows[] = {
        { csv, "csv", "~/exports/a\"b.csv", exports + "/a\"b.csv" },
        { csv, "csv", exports + "/\"c\" \"d\"", exports + "/\"c\" \"d\".csv" },
        { csv, "csv", exports + "/e\"f.txt", exports + "/e\"f.txt" },
        { csv, "csv", "~/exports/plain", exports + "/plain.csv" },
        { png, "png", "~/exports/s\"hot", exports + "/s\"hot.png" },
    };
    for (const auto& [filter, suffix, typed, chosen] : rows) {
        // Once the dialog's own event loop runs, the user selects the proposed name, types
        // over it into the active dialog's focused box (Qt's dialog follows the text only
        // then), closes the completion list if the folders typed opened it, and presses
        // Return. A dialog left open would stop the test: it is closed.
        QTimer::singleShot(0, [text = typed] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            auto* edit = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
            if (!edit) {
                ADD_FAILURE() << "no save dialog with a file-name box";
                if (QWidget* modal = QApplication::activeModalWidget())
                    modal->close();
                return;
            }
            QApplication::setActiveWindow(dialog);
            edit->setFocus();
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
        const QString path
            = Desktop().ChooseSaveFile(nullptr, QStringLiteral("ExifList"), filter, suffix);
        EXPECT_EQ(path.toStdString(), chosen.toStdString()) << typed.toStdString();
    }
    qputenv("HOME", previousHome);
}
