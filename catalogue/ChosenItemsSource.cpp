// SPDX-License-Identifier: MIT
#include "catalogue/ChosenItemsSource.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cerrno>
#include <string_view>
#include <utility>

namespace {

// The folder part of a path: "a/b" gives "a", "/b" gives "/", "b" gives ".".
std::string_view FolderOf(std::string_view path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos)
        return ".";
    return path.substr(0, slash == 0 ? 1 : slash);
}

bool StatsAsFolder(const std::string& path)
{
    struct stat status { };
    return stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

// Collects the names of the entries of folder that readdir does not type as regular files.
// False if the folder cannot be read to its end.
bool ListNotFiles(const std::string& folder, std::set<std::string, std::less<>>& names)
{
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr)
        return false;
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_type != DT_REG)
            names.emplace(entry->d_name);
    }
    const bool complete = errno == 0;
    closedir(dir);
    return complete;
}

} // namespace

ChosenItemsSource::ChosenItemsSource(std::vector<std::string> items)
    : m_items(std::move(items))
{
}

bool ChosenItemsSource::Next(std::string& path)
{
    for (;;) {
        if (m_walk) {
            if (m_walk->Next(path))
                return true;
            m_walk.reset();
        }
        if (m_next >= m_items.size() || (m_watch && m_watch->Stopped()))
            return false;
        const std::size_t index = m_next++;
        if (IsFolder(index)) {
            m_walk.emplace(std::move(m_items[index]), m_watch);
            continue;
        }
        path = std::move(m_items[index]);
        return true;
    }
}

void ChosenItemsSource::Watch(WalkWatch* watch)
{
    m_watch = watch;
    if (m_walk)
        m_walk->Watch(watch);
}

bool ChosenItemsSource::IsFolder(std::size_t index)
{
    const std::string& item = m_items[index];
    const std::string_view folder = FolderOf(item);
    const std::string_view name = std::string_view(item).substr(item.rfind('/') + 1);
    if (name.empty() || name == "." || name == "..")
        return StatsAsFolder(item);
    if (folder != m_folder) {
        m_folder = folder;
        m_notFiles.clear();
        m_listed = index + 1 < m_items.size() && FolderOf(m_items[index + 1]) == folder
            && ListNotFiles(m_folder, m_notFiles);
    }
    if (m_listed && m_notFiles.find(name) == m_notFiles.end())
        return false;
    return StatsAsFolder(item);
}
