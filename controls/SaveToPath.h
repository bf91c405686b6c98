// SPDX-License-Identifier: MIT
// Writing the file the user named: whole or not at all, never waiting without a way out,
// and never ending the program.
#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include <sys/types.h>

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

// Lets one thread stop a save that runs on another and watch how far it has come.
class SaveControl {
public:
    SaveControl();
    ~SaveControl();
    SaveControl(const SaveControl&) = delete;
    SaveControl& operator=(const SaveControl&) = delete;

    // Any thread: the save stops before its next write, or at once while it waits for a
    // reader to make room; a regular file is then left as it was.
    void Cancel();
    bool Cancelled() const { return m_cancelled.load(); }
    // A descriptor that turns readable once Cancel was called (-1 if none could be made:
    // a waiting write then looks at the flag every 50 ms).
    int WakeDescriptor() const { return m_wake; }
    // Bytes written to the target so far.
    qint64 Written() const { return m_written.load(); }
    void AddWritten(qint64 bytes) { m_written += bytes; }

    // For a program that ends without waiting for the save (a sync may take minutes): removes
    // the save's temporary file, if it has one, and makes the save create and rename none
    // from now on. Returns true when the save had one; the save is then left with nothing
    // to finish but failing. False: the save may be writing its target in place, and must
    // be waited for.
    bool Abandon();
    // The save's side: it creates and renames its temporary file holding this lock, and
    // names the file (a descriptor of its folder and its name there) while it exists.
    std::unique_lock<std::mutex> HoldTemporary() { return std::unique_lock(m_temporaryLock); }
    bool Abandoned() const { return m_abandoned; } // with the lock held
    void SetTemporary(int folder, std::string name); // with the lock held; folder -1: none

private:
    std::mutex m_temporaryLock;
    bool m_abandoned = false; // guarded by m_temporaryLock
    int m_temporaryFolder = -1; // guarded by m_temporaryLock
    std::string m_temporaryName; // guarded by m_temporaryLock
    std::atomic<bool> m_cancelled { false };
    std::atomic<qint64> m_written { 0 };
    int m_wake = -1;
};

// The reason a cancelled save gives.
QString SaveCancelledReason();

// The system calls that put a save's bytes on the disk. Tests replace them with stubs that
// fail at chosen offsets, as a disk that fills up or a device that fails to sync does.
struct SaveFileCalls {
    ssize_t (*write)(int fd, const void* data, size_t size) = nullptr;
    int (*fsync)(int fd) = nullptr;
};
// Installs calls (null members: the system's own) and returns the previous ones. Only while
// no save runs.
SaveFileCalls SetSaveFileCalls(SaveFileCalls calls);

// Saves what write produces to path, on the calling thread.
// - A new regular file, or an existing one (a symbolic link's target) whose replacement
//   keeps everything, is written beside the target under a temporary name, synced to the
//   disk, closed and only then renamed over it: a failed or cancelled save leaves an existing
//   file as it was and nothing beside it. The replacement keeps everything when the folder
//   lets this user create and rename files, the new file can be given the old one's owner,
//   group and mode, and the old file has one link.
// - Any other existing regular file the user may write is written in place, so that its
//   owner, group, mode and links stay: its old content (at most 1 GiB, else the save is
//   refused) is read first, the new content is made in memory and, when the disk has room
//   for it, the file is truncated, written and synced; any failure from the truncation on
//   writes the old content back.
// - An existing target that is not a regular file is never replaced by a rename (as root
//   that would swap /dev/null for a regular file). It is opened in place without waiting:
//   a device such as /dev/null is written; a FIFO is written only when a process has it
//   open for reading, at that reader's pace (however slow, until control cancels), and a
//   reader that goes away fails the save; a FIFO without a reader, a socket and a folder
//   fail at once.
// Neither a vanished reader (SIGPIPE) nor a file-size limit (SIGXFSZ) ends the program:
// both fail the save. Returns false when anything fails, with reason (if given) set to the
// system's words for it ("No space left on device", "File too large", "Read-only file
// system", "Is a directory"), the writer's, or SaveCancelledReason().
bool SaveToPath(
    const QString& path, const FileWriter& write, QString* reason, SaveControl* control = nullptr);
