// SPDX-License-Identifier: MIT
// The one input of a scan run's reading loop: a stream of file paths in reading order.
// The open dialog's choice, a drop and a folder walk all arrive as one of these. Paths
// are the file system's bytes, never converted.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class PathSource {
public:
    virtual ~PathSource() = default;
    // Stores the next path and returns true, or returns false after the last one (and
    // from then on).
    virtual bool Next(std::string& path) = 0;
};

// Yields the given paths in order, whatever they name.
class PathListSource : public PathSource {
public:
    explicit PathListSource(std::vector<std::string> paths);
    bool Next(std::string& path) override;

private:
    std::vector<std::string> m_paths;
    std::size_t m_next = 0;
};

// The paths of the items a user chose, dropped or named, in their order: each folder
// among them is walked, anything else is yielded as it is, whatever its name.
std::unique_ptr<PathSource> MakeScanSource(std::vector<std::string> items);
