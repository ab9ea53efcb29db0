// Handle tables: every handle the layer gives out is an index into a table plus
// a generation counter, so a stale or foreign handle is recognised and fails
// instead of reaching freed memory.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

namespace vk {

// The top bits of a handle value name its table, so that a window handle
// passed where a GDI object is expected is also refused.
enum class HandleKind : uint32_t { Window = 1, Gdi = 2, UserObject = 3, Kernel = 4, Module = 5, GdiPlus = 6 };

template <class T>
class HandleTable {
public:
    explicit HandleTable(HandleKind kind) : m_kind(static_cast<uint32_t>(kind)) {}

    // Takes ownership of obj and returns its handle value (never 0).
    uintptr_t add(std::unique_ptr<T> obj)
    {
        uint32_t index;
        if (m_free.size() > kReuseDelay || (m_slots.size() >= kMaxIndex && !m_free.empty())) {
            index = m_free.front();
            m_free.pop_front();
        } else if (m_slots.size() < kMaxIndex) {
            index = static_cast<uint32_t>(m_slots.size());
            m_slots.emplace_back();
        } else {
            return 0;
        }
        Slot& s = m_slots[index];
        s.obj = std::move(obj);
        ++m_live;
        return encode(index, s.gen);
    }

    // The object behind a handle value, or null when the value is stale, foreign or 0.
    T* get(uintptr_t value) const
    {
        uint32_t index;
        if (!decode(value, index))
            return nullptr;
        return m_slots[index].obj.get();
    }

    template <class H>
    T* get(H handle) const
    {
        return get(reinterpret_cast<uintptr_t>(handle));
    }

    // Removes the object and returns it; the handle value is dead from now on.
    std::unique_ptr<T> remove(uintptr_t value)
    {
        uint32_t index;
        if (!decode(value, index))
            return nullptr;
        Slot& s = m_slots[index];
        std::unique_ptr<T> obj = std::move(s.obj);
        s.gen = static_cast<uint16_t>((s.gen + 1) & kGenMask);
        if (s.gen == 0)
            s.gen = 1;
        m_free.push_back(index);
        --m_live;
        return obj;
    }

    size_t live() const { return m_live; }

    // Calls fn(handleValue, T&) for every live object, in index order.
    template <class Fn>
    void forEach(Fn&& fn) const
    {
        for (uint32_t i = 0; i < m_slots.size(); ++i)
            if (m_slots[i].obj)
                fn(encode(i, m_slots[i].gen), *m_slots[i].obj);
    }

private:
    static constexpr uint32_t kIndexBits = 16;
    static constexpr uint32_t kMaxIndex = (1u << kIndexBits) - 2;
    static constexpr uint32_t kGenMask = 0xFFF;
    static constexpr size_t kReuseDelay = 256;

    struct Slot {
        std::unique_ptr<T> obj;
        uint16_t gen = 1;
    };

    uintptr_t encode(uint32_t index, uint16_t gen) const
    {
        return (uintptr_t(m_kind) << 28) | (uintptr_t(gen & kGenMask) << kIndexBits) | uintptr_t(index + 1);
    }

    bool decode(uintptr_t value, uint32_t& index) const
    {
        if ((value >> 28) != m_kind || value > 0xFFFFFFFFu)
            return false;
        uint32_t low = static_cast<uint32_t>(value & ((1u << kIndexBits) - 1));
        if (low == 0 || low > m_slots.size())
            return false;
        index = low - 1;
        const Slot& s = m_slots[index];
        return s.obj && s.gen == ((value >> kIndexBits) & kGenMask);
    }

    uint32_t m_kind;
    std::vector<Slot> m_slots;
    std::deque<uint32_t> m_free;
    size_t m_live = 0;
};

} // namespace vk
