// SPDX-License-Identifier: MIT
#include "catalogue/LongPath.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

namespace {

// The longest piece of a path handed to one openat: well below PATH_MAX, so that the
// piece and its terminating NUL always fit.
constexpr std::size_t kPieceBytes = PATH_MAX / 2;

int CloseKeepingErrno(int fd)
{
    const int error = errno;
    ::close(fd);
    errno = error;
    return -1;
}

} // namespace

int OpenAnyLength(const std::string& path, int flags)
{
    if (path.size() < kPieceBytes)
        return ::open(path.c_str(), flags, 0);
    // Folder by folder: pieces of whole names, each opened from the folder the one before
    // led to. Every name is at most NAME_MAX bytes, so a piece always holds one.
    int folder = AT_FDCWD;
    std::size_t start = 0;
    if (path[0] == '/') {
        folder = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (folder < 0)
            return -1;
        start = 1;
    }
    for (;;) {
        while (start < path.size() && path[start] == '/')
            ++start;
        const bool last = path.size() - start < kPieceBytes;
        std::size_t end = path.size();
        if (!last) {
            end = path.rfind('/', start + kPieceBytes - 1);
            if (end == std::string::npos || end <= start) {
                errno = ENAMETOOLONG; // a single name longer than any file system allows
                return folder == AT_FDCWD ? -1 : CloseKeepingErrno(folder);
            }
        }
        const std::string piece = path.substr(start, end - start);
        const int next = last ? ::openat(folder, piece.c_str(), flags, 0)
                              : ::openat(folder, piece.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (folder != AT_FDCWD) {
            const int error = errno;
            ::close(folder);
            errno = error;
        }
        if (next < 0 || last)
            return next;
        folder = next;
        start = end + 1;
    }
}
