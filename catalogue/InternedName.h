// SPDX-License-Identifier: MIT
// A camera or lens name kept once for the whole program: a photo record holds a pointer
// to the one copy, 8 bytes, so that 100,000 photos of a few cameras and lenses do not
// hold 100,000 copies of their names.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

class InternedName {
public:
    InternedName();
    InternedName(std::string_view text); // NOLINT: a name is made from its text
    InternedName(const char* text) // NOLINT
        : InternedName(std::string_view(text))
    {
    }
    InternedName(const std::string& text) // NOLINT
        : InternedName(std::string_view(text))
    {
    }

    const std::string& str() const { return *m_text; }
    operator const std::string&() const { return *m_text; } // NOLINT
    bool empty() const { return m_text->empty(); }
    std::size_t size() const { return m_text->size(); }
    const char* data() const { return m_text->data(); }

    // Interned: equal texts are the same copy.
    friend bool operator==(const InternedName& a, const InternedName& b)
    {
        return a.m_text == b.m_text;
    }
    friend bool operator!=(const InternedName& a, const InternedName& b) { return !(a == b); }
    friend bool operator==(const InternedName& a, std::string_view b) { return a.str() == b; }
    friend bool operator==(const InternedName& a, const char* b) { return a.str() == b; }
    friend bool operator==(const InternedName& a, const std::string& b) { return a.str() == b; }

private:
    const std::string* m_text; // never null; the copies live until the program ends
};

std::ostream& operator<<(std::ostream& out, const InternedName& name);

// The number of distinct names kept so far (the empty one included).
std::size_t InternedNameCount();
