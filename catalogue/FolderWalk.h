// SPDX-License-Identifier: MIT
// The photo files under one folder, found lazily in a fixed order.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/PathSource.h"

// Whether a file name ends in one of PhotoExtensions() after a dot, its ASCII letters in
// any case (".jpg", ".NEF", ".Cr2", ".HEIC", ...).
bool IsPhotoFileName(std::string_view name);

// The extensions of the photo files the reader knows, lower case, without the dot: JPEG,
// TIFF, the TIFF-structured camera raw files, HEIF/HEIC/AVIF, CR3, RAF and MRW.
const std::vector<std::string_view>& PhotoExtensions();

// Yields the photo files under a folder, one path per Next: within each folder the entries
// in the order of their names as unsigned bytes ("B" before "a", 0xFF last), a subfolder
// walked where its name sorts. Left out: names starting with "." (hidden files and folders,
// thumbnail caches), files that IsPhotoFileName refuses, whatever is neither a regular file
// nor a folder, symbolic links to folders (so no loop can form), a folder already open
// higher up (a bind mount of an ancestor), and folders that cannot be read. A symbolic
// link to a regular file is yielded under its own name.
//
// Each folder is read whole, closed and sorted before its first entry is yielded: the walk
// holds no file descriptor between two calls, whatever the depth, and its memory is the
// sorted listings of the folders on the current path, not the tree. A path is the root's bytes,
// one "/" (none after a root that ends in one), then the names' bytes, never converted.
class FolderWalk : public PathSource {
public:
    // watch (not owned, may be null) is told of every folder entered and can stop the walk.
    explicit FolderWalk(std::string root, WalkWatch* watch = nullptr);
    bool Next(std::string& path) override;
    void Watch(WalkWatch* watch) override { m_watch = watch; }

private:
    struct Entry {
        std::string name;
        bool folder = false;
    };
    // One folder on the current path: its remaining entries and where its names start in
    // m_path.
    struct Level {
        std::vector<Entry> entries;
        std::size_t next = 0;
        std::size_t nameStart = 0;
        dev_t device = 0;
        ino_t inode = 0;
    };

    // Reads the folder that m_path names and pushes it, unless it cannot be read or is
    // already on the path.
    void Enter();

    bool Stopped();

    std::string m_path;
    std::vector<Level> m_levels;
    WalkWatch* m_watch = nullptr;
};
