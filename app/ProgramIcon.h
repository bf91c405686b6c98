// SPDX-License-Identifier: MIT
#pragma once

class QIcon;
class QPixmap;

// The program's icon: a framed landscape with a magnifying glass over its right part,
// drawn in 16 colours at 32 x 32 and 16 x 16 pixels.
QIcon ProgramIcon();
QPixmap ProgramIconPixmap(int size); // size 16 or 32
