// SPDX-License-Identifier: MIT
#include "catalogue/PathSource.h"

#include <sys/stat.h>

#include <optional>
#include <utility>

#include "catalogue/FolderWalk.h"

namespace {

// The chosen items in order, each folder among them (or symbolic link to one: the user
// named it) replaced by its walk when it is reached.
class ChosenItemsSource : public PathSource {
public:
    explicit ChosenItemsSource(std::vector<std::string> items)
        : m_items(std::move(items))
    {
    }

    bool Next(std::string& path) override
    {
        for (;;) {
            if (m_walk) {
                if (m_walk->Next(path))
                    return true;
                m_walk.reset();
            }
            if (m_next >= m_items.size())
                return false;
            std::string& item = m_items[m_next++];
            struct stat status { };
            if (stat(item.c_str(), &status) == 0 && S_ISDIR(status.st_mode)) {
                m_walk.emplace(std::move(item));
                continue;
            }
            path = std::move(item);
            return true;
        }
    }

private:
    std::vector<std::string> m_items;
    std::size_t m_next = 0;
    std::optional<FolderWalk> m_walk;
};

} // namespace

PathListSource::PathListSource(std::vector<std::string> paths)
    : m_paths(std::move(paths))
{
}

bool PathListSource::Next(std::string& path)
{
    if (m_next >= m_paths.size())
        return false;
    path = m_paths[m_next++];
    return true;
}

std::unique_ptr<PathSource> MakeScanSource(std::vector<std::string> items)
{
    return std::make_unique<ChosenItemsSource>(std::move(items));
}
