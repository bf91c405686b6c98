// SPDX-License-Identifier: MIT
#include "catalogue/InternedName.h"

#include <mutex>
#include <ostream>
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
    NamePool& pool = Pool();
    const std::lock_guard<std::mutex> lock(pool.mutex);
    // Node-based: a name's address never changes once inserted.
    return &*pool.names.emplace(text).first;
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
