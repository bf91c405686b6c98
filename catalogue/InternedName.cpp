// SPDX-License-Identifier: MIT
#include "catalogue/InternedName.h"

#include <mutex>
#include <ostream>
#include <unordered_map>
#include <unordered_set>

namespace {
// The copies, never released: a name a record points to stays valid while any list row,
// chart or panel refers to it, across scan runs. Names are at most 127 bytes each.
struct NamePool {
    std::mutex mutex;
    std::unordered_set<std::string> names { std::string() };
};

NamePool& Pool()
{
    static NamePool* pool = new NamePool; // outlives every record, also at exit
    return *pool;
}

const std::string* Intern(std::string_view text)
{
    // Each thread's own index of the names it has met, keyed by views of the pool's
    // copies: a scan meets the same cameras and lenses file after file and finds them here
    // without a lock or an allocation.
    thread_local std::unordered_map<std::string_view, const std::string*> known;
    if (const auto found = known.find(text); found != known.end())
        return found->second;
    NamePool& pool = Pool();
    const std::string* name;
    {
        const std::lock_guard<std::mutex> lock(pool.mutex);
        // Node-based: a name's address never changes once inserted.
        name = &*pool.names.emplace(text).first;
    }
    known.emplace(std::string_view(*name), name);
    return name;
}

const std::string* EmptyName()
{
    static const std::string* empty = Intern({});
    return empty;
}
} // namespace

InternedName::InternedName()
    : m_text(EmptyName())
{
}

InternedName::InternedName(std::string_view text)
    : m_text(text.empty() ? EmptyName() : Intern(text))
{
}

std::ostream& operator<<(std::ostream& out, const InternedName& name)
{
    return out << name.str();
}

std::size_t InternedNameCount()
{
    NamePool& pool = Pool();
    const std::lock_guard<std::mutex> lock(pool.mutex);
    return pool.names.size();
}
