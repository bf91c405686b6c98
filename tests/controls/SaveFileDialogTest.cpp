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
    const std::pair<QString, QString> rows[] = {
        { QStringLiteral("~/exports/a\"b.csv"), exports + QStringLiteral("/a\"b.csv") },
        { exports + QStringLiteral("/\"c\" \"d\""), exports + QStringLiteral("/\"c\" \"d\".csv") },
        { exports + QStringLiteral("/e\"f.txt"), exports + QStringLiteral("/e\"f.txt") },
        { QStringLiteral("~/exports/plain"), exports + QStringLiteral("/plain.csv") },
    };
    for (const auto& [typed, chosen] : rows) {
        TypeIntoNextSaveDialog(typed);
        const QString path = Desktop().ChooseSaveFile(nullptr, QStringLiteral("ExifList"),
            QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"));
        EXPECT_EQ(path.toStdString(), chosen.toStdString()) << typed.toStdString();
    }
    qputenv("HOME", previousHome);
}
