// SPDX-License-Identifier: MIT
// Opening a listed photo with the desktop's program for it.
#pragma once

#include <string>

class QItemSelectionModel;
class QUrl;
class ResultsModel;

// The file URL of an absolute path given as the file system's bytes, every byte kept.
QUrl FileUrlOf(const std::string& path);

// Opens the photo at path (the file system's bytes) through the desktop seam. A failure
// (no program for the file, the file gone) is ignored, as the user sees the program
// not opening; the result is returned for the caller's use.
bool OpenPhoto(const std::string& path);

// OnListDblClk: opens the photo of the row at position row; no row there, nothing.
void OpenPhotoAt(const ResultsModel& model, int row);

// OnOpenPhoto: opens the photo of the first selected row; no selection, nothing.
void OpenSelectedPhoto(const ResultsModel& model, const QItemSelectionModel* selection);
