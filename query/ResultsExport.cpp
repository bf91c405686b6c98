// SPDX-License-Identifier: MIT
#include "query/ResultsExport.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>
#include <QString>

#include "controls/DesktopSeam.h"
#include "query/ResultsModel.h"

std::string ExportHeaderLine()
{
    return "Filename\tCamera\tAperture\tFocal Length\tISO\tShutter Speed\n";
}

std::string ExportRowLine(const ListRow& row)
{
    std::string line;
    for (int column = 0; column < kResultColumnCount; ++column) {
        std::string cell = CellText(row, column);
        for (char& c : cell) {
            if (c == '\t' || c == '\r' || c == '\n')
                c = ' ';
        }
        line += cell;
        line += '\t';
    }
    line += '\n';
    return line;
}

namespace {
bool WriteAll(QIODevice& device, const std::string& bytes)
{
    return device.write(bytes.data(), static_cast<qint64>(bytes.size()))
        == static_cast<qint64>(bytes.size());
}

// Lines are gathered in blocks of about this many bytes, so that a long list costs a
// few hundred writes instead of one per row.
constexpr std::size_t kBlockBytes = 64 * 1024;
} // namespace

bool WriteResults(QIODevice& device, const std::vector<ListRow>& rows, QString* errorString)
{
    std::string block = ExportHeaderLine();
    bool ok = true;
    for (const ListRow& row : rows) {
        block += ExportRowLine(row);
        if (block.size() >= kBlockBytes) {
            ok = WriteAll(device, block);
            if (!ok)
                break;
            block.clear();
        }
    }
    if (ok)
        ok = WriteAll(device, block);
    if (!ok && errorString)
        *errorString = device.errorString();
    return ok;
}

namespace {
bool Fail(QString* errorString, const QString& reason)
{
    if (errorString)
        *errorString = reason;
    return false;
}

// A device or a pipe cannot be replaced by renaming a temporary file over it (as root,
// that would even swap /dev/full for a regular file): it is written in place.
bool SaveInPlace(const QString& path, const std::vector<ListRow>& rows, QString* errorString)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(errorString, file.errorString());
    if (!WriteResults(file, rows, errorString))
        return false;
    if (!file.flush())
        return Fail(errorString, file.errorString());
    file.close();
    if (file.error() != QFileDevice::NoError)
        return Fail(errorString, file.errorString());
    return true;
}
} // namespace

bool SaveResults(const QString& path, const std::vector<ListRow>& rows, QString* errorString)
{
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        return SaveInPlace(path, rows, errorString);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(errorString, file.errorString());
    if (!WriteResults(file, rows, errorString)) {
        file.cancelWriting();
        return false;
    }
    // commit() flushes, closes and renames; it keeps the target untouched and removes
    // the temporary file if any of these fail or if a write failed before.
    if (!file.commit())
        return Fail(errorString, file.errorString());
    return true;
}

bool ExportResults(QWidget* parent, const ResultsModel& model)
{
    const QString path = Desktop().ChooseSaveFile(parent, QStringLiteral("ExifList"),
        QStringLiteral("CSV files (*.csv)"), QStringLiteral("csv"));
    if (path.isEmpty())
        return false;
    QString reason;
    if (!SaveResults(path, model.Rows(), &reason)) {
        Desktop().ShowError(parent, QStringLiteral("Fotolot"), QStringLiteral("Error saving file"));
        return false;
    }
    return true;
}
