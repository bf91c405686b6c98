// SPDX-License-Identifier: MIT
#include "query/ListRow.h"

std::string FileNameOf(const std::string& path)
{
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos)
        return path;
    return path.substr(slash + 1);
}

std::string_view FolderOf(const std::string& path)
{
    const std::string::size_type slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return std::string_view(path).substr(0, slash == 0 ? 1 : slash);
}
