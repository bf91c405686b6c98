// SPDX-License-Identifier: MIT
#include "controls/SaveFileDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

QString TypedSavePath(
    const QString& typed, const QString& folder, const QString& defaultSuffix, const QString& home)
{
    QString path = typed;
    if (path == QLatin1String("~") || path.startsWith(QLatin1String("~/")))
        path = home + path.mid(1);
    path = QDir(folder).absoluteFilePath(path);
    if (!defaultSuffix.isEmpty() && !QFileInfo(path).fileName().contains(u'.'))
        path += u'.' + defaultSuffix;
    return path;
}

SaveFileDialog::SaveFileDialog(QWidget* parent)
    : QFileDialog(parent)
{
    setAcceptMode(QFileDialog::AcceptSave);
    setFileMode(QFileDialog::AnyFile);
    // The typed name is read from Qt's own dialog; a desktop's native one never shows it.
    setOption(QFileDialog::DontUseNativeDialog, true);
}

QString SaveFileDialog::ChosenPath() const
{
    if (!m_typedPath.isEmpty())
        return m_typedPath;
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}

void SaveFileDialog::accept()
{
    m_typedPath.clear();
    auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    const QString typed = edit ? edit->text() : QString();
    if (!typed.contains(u'"')) {
        QFileDialog::accept();
        return;
    }
    const QString path
        = TypedSavePath(typed, directory().absolutePath(), defaultSuffix(), QDir::homePath());
    const QFileInfo target(path);
    if (target.isDir()) {
        setDirectory(path);
        edit->clear();
        return;
    }
    if (target.exists()
        && QMessageBox::warning(this, windowTitle(),
               tr("%1 already exists.\nDo you want to replace it?").arg(target.fileName()),
               QMessageBox::Yes | QMessageBox::No, QMessageBox::No)
            != QMessageBox::Yes)
        return;
    m_typedPath = path;
    QDialog::accept();
}
