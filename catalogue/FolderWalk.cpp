// SPDX-License-Identifier: MIT
#include "catalogue/FolderWalk.h"

#include "catalogue/LongPath.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <utility>

namespace {

// IsPhotoFileName folds at most this many letters.
constexpr std::size_t kMaxExtensionLength = 4;

enum class Kind { Skip, Photo, Folder, Other }; // Other: a file of no photo format

// What a walk does with the entry name of the open folder dirFd, whose type readdir gave.
// Only links and file systems that leave the type unknown cost a stat.
Kind Classify(int dirFd, const char* name, unsigned char type)
{
    struct stat status { };
    if (type == DT_UNKNOWN) {
        if (fstatat(dirFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            return Kind::Skip;
        type = S_ISDIR(status.st_mode) ? DT_DIR
            : S_ISREG(status.st_mode)  ? DT_REG
            : S_ISLNK(status.st_mode)  ? DT_LNK
                                       : DT_UNKNOWN;
    }
    if (type == DT_DIR)
        return Kind::Folder;
    if (type != DT_REG && type != DT_LNK)
        return Kind::Skip;
    if (type == DT_LNK && (fstatat(dirFd, name, &status, 0) != 0 || !S_ISREG(status.st_mode)))
        return Kind::Skip;
    return IsPhotoFileName(name) ? Kind::Photo : Kind::Other;
}

} // namespace

bool IsPhotoFileName(std::string_view name)
{
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos || name.size() - dot - 1 > kMaxExtensionLength)
        return false;
    char lower[kMaxExtensionLength];
    const std::string_view extension = name.substr(dot + 1);
    for (std::size_t i = 0; i < extension.size(); ++i) {
        const char c = extension[i];
        lower[i] = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    const std::string_view wanted(lower, extension.size());
    const std::vector<std::string_view>& extensions = PhotoExtensions();
    return std::find(extensions.begin(), extensions.end(), wanted) != extensions.end();
}

const std::vector<std::string_view>& PhotoExtensions()
{
    // Lower case, at most kMaxExtensionLength letters, sorted only for reading.
    static const std::vector<std::string_view> extensions
        = { "3fr", "arw", "avif", "cr2", "cr3", "dcr", "dng", "erf", "heic", "heif", "hif", "iiq",
              "jpe", "jpeg", "jpg", "jxl", "kdc", "mef", "mos", "mrw", "nef", "nrw", "orf", "pef",
              "png", "raf", "rw2", "sr2", "srf", "srw", "tif", "tiff", "webp" };
    return extensions;
}

FolderWalk::FolderWalk(std::string root, WalkWatch* watch)
    : m_path(std::move(root))
    , m_watch(watch)
{
    Enter();
}

bool FolderWalk::Stopped()
{
    if (!m_watch || !m_watch->Stopped())
        return false;
    m_levels.clear();
    return true;
}

bool FolderWalk::Next(std::string& path)
{
    while (!m_levels.empty()) {
        Level& level = m_levels.back();
        if (level.next == level.entries.size()) {
            m_levels.pop_back();
            continue;
        }
        Entry& entry = level.entries[level.next++];
        m_path.resize(level.nameStart);
        m_path += entry.name;
        if (entry.folder) {
            if (Stopped())
                return false;
            Enter();
            continue;
        }
        path = m_path;
        return true;
    }
    return false;
}

void FolderWalk::Enter()
{
    // O_CLOEXEC: no viewer started meanwhile inherits it. A folder deeper than the system's
    // path length is opened folder by folder.
    const int fd = OpenAnyLength(m_path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    DIR* dir = fd < 0 ? nullptr : fdopendir(fd);
    if (dir == nullptr) {
        if (fd >= 0)
            close(fd);
        return;
    }
    Level level;
    struct stat status { };
    const bool onPath = fstat(dirfd(dir), &status) != 0
        || std::any_of(m_levels.begin(), m_levels.end(), [&](const Level& above) {
               return above.device == status.st_dev && above.inode == status.st_ino;
           });
    if (onPath) {
        closedir(dir);
        return;
    }
    level.device = status.st_dev;
    level.inode = status.st_ino;
    if (m_watch)
        m_watch->Entered(m_path);
    // A folder of many thousand entries takes a while on a cold disk: the watch is asked
    // every 256 entries whether to go on.
    unsigned entriesRead = 0;
    while (const dirent* entry = readdir(dir)) {
        if (++entriesRead % 256 == 0 && m_watch && m_watch->Stopped()) {
            closedir(dir);
            return;
        }
        // Also leaves out "." and "..".
        if (entry->d_name[0] == '.')
            continue;
        const Kind kind = Classify(dirfd(dir), entry->d_name, entry->d_type);
        if (kind == Kind::Other) {
            if (m_watch)
                m_watch->PassedOver((m_path.empty() || m_path.back() != '/' ? m_path + '/' : m_path)
                    + entry->d_name);
        } else if (kind != Kind::Skip) {
            level.entries.push_back({ entry->d_name, kind == Kind::Folder });
        }
    }
    closedir(dir);
    // std::string compares its chars as unsigned char, so this is the order of the bytes.
    std::sort(level.entries.begin(), level.entries.end(),
        [](const Entry& a, const Entry& b) { return a.name < b.name; });
    if (m_path.empty() || m_path.back() != '/')
        m_path += '/';
    level.nameStart = m_path.size();
    m_levels.push_back(std::move(level));
}
