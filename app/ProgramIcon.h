// SPDX-License-Identifier: MIT
#pragma once

class QIcon;
class QPixmap;

// The program's icon: a framed landscape with a magnifying glass over its right part. The 16
// and 32 pixel pictures are drawn by hand in 16 colours; 48, 64, 128 and 256 pixels are
// rendered from the same drawing as a scalable picture.
QIcon ProgramIcon(); // every size, for the window manager, the task bar and the dock
QPixmap ProgramIconPixmap(int size); // size 16 or 32
