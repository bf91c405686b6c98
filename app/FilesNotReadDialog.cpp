// SPDX-License-Identifier: MIT
#include "app/FilesNotReadDialog.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

#include "catalogue/TabField.h"
#include "controls/DesktopSeam.h"
#include "controls/SaveProgress.h"
#include "controls/SaveToPath.h"

namespace {
// The two columns over the files, read only; 100,000 rows cost no widget each.
class FilesModel : public QAbstractTableModel {
public:
    FilesModel(QObject* parent, const std::vector<SkippedFile>& files)
        : QAbstractTableModel(parent)
        , m_files(files)
    {
    }
    int rowCount(const QModelIndex& parent) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(m_files.size());
    }
    int columnCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : 2; }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if ((role != Qt::DisplayRole && role != Qt::ToolTipRole) || !index.isValid())
            return {};
        const SkippedFile& file = m_files[static_cast<std::size_t>(index.row())];
        return index.column() == 0 ? QFile::decodeName(QByteArray::fromStdString(file.path))
                                   : QString::fromStdString(SkippedFileReason(file));
    }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override
    {
        if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
            return {};
        return section == 0 ? QStringLiteral("File") : QStringLiteral("Reason");
    }

private:
    const std::vector<SkippedFile>& m_files;
};
} // namespace

std::string FilesNotReadText(const std::vector<SkippedFile>& files)
{
    std::string text;
    for (const SkippedFile& file : files)
        text += TabField(file.path) + '\t' + SkippedFileReason(file) + '\n';
    return text;
}

FilesNotReadDialog::FilesNotReadDialog(QWidget* parent, std::vector<SkippedFile> files)
    : QDialog(parent)
    , m_files(std::move(files))
{
    std::stable_sort(m_files.begin(), m_files.end(),
        [](const SkippedFile& a, const SkippedFile& b) { return a.path < b.path; });
    setWindowTitle(QStringLiteral("Files Not Read"));
    auto* heading = new QLabel(
        QStringLiteral("%1 files of the last reading gave no photo:").arg(m_files.size()), this);
    m_list = new QTableView(this);
    m_list->setModel(new FilesModel(this, m_files));
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->verticalHeader()->hide();
    m_list->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setColumnWidth(0, 460);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    m_copyButton = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    m_exportButton = buttons->addButton(QStringLiteral("&Export..."), QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_list, 1);
    layout->addWidget(buttons);
    resize(720, 420);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_copyButton, &QPushButton::clicked, this, &FilesNotReadDialog::OnCopy);
    connect(m_exportButton, &QPushButton::clicked, this, &FilesNotReadDialog::OnExport);
}

void FilesNotReadDialog::OnCopy()
{
    // The clipboard takes text: paths that are not UTF-8 show their undecodable bytes as
    // the list does.
    QApplication::clipboard()->setText(QString::fromUtf8(FilesNotReadText(m_files)));
}

void FilesNotReadDialog::OnExport()
{
    const QString path = Desktop().ChooseSaveFile(this, QStringLiteral("FilesNotRead"),
        QStringLiteral("Text files (*.txt)"), QStringLiteral("txt"));
    if (path.isEmpty())
        return;
    QString reason;
    const SaveOutcome outcome = SaveWithProgress(
        this, path,
        [text = FilesNotReadText(m_files)](QIODevice& device, QString*) {
            return WriteWhole(device, text.data(), static_cast<qint64>(text.size()));
        },
        &reason);
    if (outcome == SaveOutcome::Failed)
        Desktop().ShowError(
            this, QStringLiteral("Fotolot"), QStringLiteral("Error saving file"), reason);
}
