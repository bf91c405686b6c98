// SPDX-License-Identifier: MIT
// How a scan run is told what to read. The progress dialog asks its chooser once it is
// up, on the user-interface thread: the open dialog's files, the folder chooser's folder
// or the items of a drop. The worker gets the items as the file system's bytes; a folder
// among them is walked. No items means nothing was chosen, and the run ends as dismissed.
#pragma once

#include <functional>
#include <string>
#include <vector>

class QString;
class QWidget;

using ScanItems = std::vector<std::string>;
using ScanChooser = std::function<ScanItems(QWidget* parent)>;

// The multi-selection open dialog: "JPEG files (*.jpg)" first, then all files, then
// PhotosFilter(); a name typed without an extension opens name.jpg.
ScanItems ChoosePhotoFiles(QWidget* parent);

// "Photos (*.3fr *.arw ...)": every extension a folder walk reads (PhotoExtensions).
QString PhotosFilter();

// The desktop's folder chooser: the run reads the photos of the whole folder tree.
ScanItems ChoosePhotoFolder(QWidget* parent);
