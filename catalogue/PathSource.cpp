// SPDX-License-Identifier: MIT
#include "catalogue/PathSource.h"

#include <utility>

#include "catalogue/ChosenItemsSource.h"

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
