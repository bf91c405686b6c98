// SPDX-License-Identifier: MIT
// The one input of a scan run's reading loop: a stream of file paths in reading order.
// The open dialog's choice, a drop and a folder walk all arrive as one of these. Paths
// are the file system's bytes, never converted.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

// What a walk through folders tells, and asks, while it looks for files; called on the
// thread that pulls the paths.
class WalkWatch {
public:
    virtual ~WalkWatch() = default;
    // True once the walk is to stop: it then ends as after its last path. Asked before each
    // folder and every few hundred entries of a folder.
    virtual bool Stopped() = 0;
    // The walk has entered folder (its path, the file system's bytes).
    virtual void Entered(const std::string& folder) = 0;
    // The walk passed over file, a regular file (or a link to one) whose name is of no
    // photo format.
    virtual void PassedOver(const std::string& file) { (void)file; }
};

class PathSource {
public:
    virtual ~PathSource() = default;
    // Stores the next path and returns true, or returns false after the last one (and
    // from then on).
    virtual bool Next(std::string& path) = 0;
    // Has the folders walked from now on report to watch (not owned; nullptr: none). A
    // source that walks no folder ignores it.
    virtual void Watch(WalkWatch* watch) { (void)watch; }
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
