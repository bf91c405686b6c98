// SPDX-License-Identifier: MIT
// "Files not read": every file of the last scan run that gave no photo, with the reason,
// sorted by path; Copy puts the list on the clipboard, Export saves it as tab-separated
// text (the paths' exact bytes).
#pragma once

#include <QDialog>

#include <vector>

#include "catalogue/PhotoCatalogue.h"

class QPushButton;
class QTableView;

class FilesNotReadDialog : public QDialog {
    Q_OBJECT
public:
    FilesNotReadDialog(QWidget* parent, std::vector<SkippedFile> files);

    QTableView* m_list = nullptr;
    QPushButton* m_copyButton = nullptr;
    QPushButton* m_exportButton = nullptr;

private:
    void OnCopy();
    void OnExport();

    std::vector<SkippedFile> m_files;
};

// The list as text: "path<TAB>reason" lines in m_files' order, paths as their bytes (a tab
// or line break in one written as a space).
std::string FilesNotReadText(const std::vector<SkippedFile>& files);
