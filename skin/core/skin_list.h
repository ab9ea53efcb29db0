// A growable list numbered from 1, the shape of every list in the engine's
// records. Entries are held by pointer so that a reference into the list stays
// valid while entries behind it are appended or removed; a position outside
// the list is the engine's fatal error, never undefined behaviour.
#pragma once

#include "skin/core/fatal_error.h"

#include <memory>
#include <utility>
#include <vector>

namespace velkaro::skin {

template <class T>
class SkinList {
public:
    explicit SkinList(const char* name = "list") : m_name(name) {}

    // A list made with a record starts with one blank entry (window handle 0).
    static SkinList withBlank(const char* name)
    {
        SkinList list(name);
        list.append(T{});
        return list;
    }

    int count() const { return int(m_items.size()); }
    bool empty() const { return m_items.empty(); }
    bool contains(int position) const { return position >= 1 && position <= count(); }

    T& at(int position)
    {
        if (!contains(position))
            fatalPositionError(m_name, position, count());
        return *m_items[size_t(position - 1)];
    }
    const T& at(int position) const { return const_cast<SkinList*>(this)->at(position); }

    // Appends and returns the new entry's position.
    int append(T item)
    {
        m_items.push_back(std::make_unique<T>(std::move(item)));
        return count();
    }

    // Removes one entry; the ones behind it move forward one position.
    void removeAt(int position)
    {
        if (!contains(position))
            fatalPositionError(m_name, position, count());
        m_items.erase(m_items.begin() + (position - 1));
    }

    void clear() { m_items.clear(); }

    // Iteration in position order (1, 2, ...).
    template <class F>
    void forEach(F&& f)
    {
        for (int i = 1; i <= count(); ++i)
            f(i, *m_items[size_t(i - 1)]);
    }

private:
    const char* m_name;
    std::vector<std::unique_ptr<T>> m_items;
};

} // namespace velkaro::skin
