// SPDX-License-Identifier: MIT
#include "controls/DesktopSeam.h"

#include "tests/support/SaveDialogTyping.h"

#include <QDir>
#include <QTemporaryDir>

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
    struct Row {
        QString filter, suffix, typed, chosen;
    } const rows[] = {
        { csv, "csv", "~/exports/a\"b.csv", exports + "/a\"b.csv" },
        { csv, "csv", exports + "/\"c\" \"d\"", exports + "/\"c\" \"d\".csv" },
        { csv, "csv", exports + "/e\"f.txt", exports + "/e\"f.txt" },
        { csv, "csv", "~/exports/plain", exports + "/plain.csv" },
        { png, "png", "~/exports/s\"hot", exports + "/s\"hot.png" },
    };
    for (const Row& row : rows) {
        TypeIntoNextSaveDialog(row.typed);
        const QString path
            = Desktop().ChooseSaveFile(nullptr, QStringLiteral("ExifList"), row.filter, row.suffix);
        EXPECT_EQ(path.toStdString(), row.chosen.toStdString()) << row.typed.toStdString();
    }
    qputenv("HOME", previousHome);
}
