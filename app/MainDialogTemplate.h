// SPDX-License-Identifier: MIT
#pragma once

#include "controls/DialogTemplate.h"

// The main window: 395 x 282 dialog units, titled "Fotolot " and the version (such as
// "Fotolot 0.92 beta"), its controls in tab order.
const DialogTemplate& MainDialogTemplate();

// The product's web address, the link label's caption.
extern const char* const kProductAddress;
