// SPDX-License-Identifier: MIT
// The paths of the items a user chose, dropped or named, each folder among them walked.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "catalogue/FolderWalk.h"

// Yields the items in order: an item that is a folder, or a symbolic link to one (the user
// named it), is replaced by its FolderWalk when it is reached; anything else is yielded as
// it is, whatever its name, even when it does not exist (the reader rejects it then).
//
// A stat of every item would cost a fifth of the scan of a long list. Items from one folder,
// as an open dialog gives them, are instead looked up in one listing of that folder, read
// when two items in a row share it: only the entries it does not show as regular files
// (folders, links, types it does not tell) are looked at one by one.
class ChosenItemsSource : public PathSource {
public:
    explicit ChosenItemsSource(std::vector<std::string> items);
    bool Next(std::string& path) override;
    void Watch(WalkWatch* watch) override;

private:
    // Whether item m_items[index] is a folder, following a symbolic link.
    bool IsFolder(std::size_t index);

    std::vector<std::string> m_items;
    std::size_t m_next = 0;
    std::optional<FolderWalk> m_walk;
    WalkWatch* m_watch = nullptr;
    // The folder of the items looked up last; whether it was listed, and then the names of
    // its entries that are not regular files.
    std::string m_folder;
    bool m_listed = false;
    std::set<std::string, std::less<>> m_notFiles;
};
