// SPDX-License-Identifier: MIT
// Writing the file the user named: whole or not at all, and never waiting on it.
#pragma once

#include <functional>

#include <QtGlobal>

class QIODevice;
class QString;

// Writes all size bytes at data to device, going on after a short write (a pipe, a file
// reaching its size limit) until every byte is written or a write fails, so that the
// device then holds the system's reason. Returns true when every byte was written.
bool WriteWhole(QIODevice& device, const char* data, qint64 size);

// Writes into device, which is open for writing. Returns false when that fails, with
// reason set where the writer knows more than the device.
using FileWriter = std::function<bool(QIODevice& device, QString* reason)>;

// Saves what write produces to path.
// - A regular file, new or existing, is written beside the target under a temporary name
//   and renamed over it only after every byte has been written, flushed and closed: a
//   failed save leaves an existing file as it was and nothing beside it.
// - An existing target that is not a regular file is never replaced by a rename (as root
//   that would swap /dev/null for a regular file). It is opened in place without waiting:
//   a device such as /dev/null is written; a FIFO is written only when a process has it
//   open for reading, at that reader's pace, and a reader that goes away fails the save
//   instead of ending the program; a FIFO without a reader, a socket and a directory fail
//   at once.
// Returns false when anything fails, with reason (if given) set to the system's words for
// it ("No space left on device", "Read-only file system", "Is a directory") or the
// writer's.
bool SaveToPath(const QString& path, const FileWriter& write, QString* reason);
