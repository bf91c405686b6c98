// SPDX-License-Identifier: MIT
// Opening a listed photo with the desktop's program for it.
#pragma once

#include <string>

class QItemSelectionModel;
class QUrl;
class QWidget;
class ResultsModel;

// The file URL of an absolute path given as the file system's bytes, every byte kept.
QUrl FileUrlOf(const std::string& path);

// Opens the photo at path (the file system's bytes) through the desktop seam. Returns
// false when the desktop has no program to hand it to.
bool OpenPhoto(const std::string& path);

// OnListDblClk: opens the photo of the row at position row; no row there, nothing. When the
// desktop cannot open it, the box "Error opening file" under the name "Fotolot" says why
// ("No application to open it") over parent.
void OpenPhotoAt(QWidget* parent, const ResultsModel& model, int row);

// OnOpenPhoto: opens the photo of the first selected row as OpenPhotoAt does; no selection,
// nothing.
void OpenSelectedPhoto(
    QWidget* parent, const ResultsModel& model, const QItemSelectionModel* selection);
