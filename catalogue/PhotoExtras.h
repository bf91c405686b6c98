// SPDX-License-Identifier: MIT
// What the reader finds in a photo beyond the values the window as it starts shows: read
// only for the expanded window, which uses these where they are set and the record's own
// values elsewhere. The window as it starts never looks here, so nothing read into this
// struct can change what it lists, counts or draws.
#pragma once

struct PhotoExtras {
};
