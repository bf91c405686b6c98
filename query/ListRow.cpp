// SPDX-License-Identifier: MIT
#include "query/ListRow.h"

#include <utility>

ListRow::ListRow(std::string path_, InternedName camera_, double fNumber, double focalLength,
    double iso, double exposureTime, double fileSizeMb, InternedName lens_, std::int64_t taken_,
    std::uint16_t focal35_)
    : path(std::move(path_))
    , camera(camera_)
    , values { fNumber, focalLength, iso, exposureTime, fileSizeMb }
    , lens(lens_)
    , taken(taken_)
    , focal35(focal35_)
{
}

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
