#pragma once
// Entities by handle in one flat table (open addressing, linear probing):
// a drawing of 200,000 entities needs 4 MB here, not the 8 MB a node per
// entry costs. Handle 0 is no handle and marks a free slot.
#include <QtGlobal>
#include <vector>

namespace kelvor::cad {

class Entity;

class HandleMap {
public:
    Entity* find(quint64 h) const
    {
        if (!h || slots_.empty())
            return nullptr;
        for (size_t i = home(h);; i = next(i)) {
            if (slots_[i].key == h)
                return slots_[i].value;
            if (!slots_[i].key)
                return nullptr;
        }
    }
    void set(quint64 h, Entity* e)
    {
        if (!h)
            return;
        if ((count_ + 1) * 5 > slots_.size() * 4) // at most four fifths full
            rehash(std::max<size_t>(16, slots_.size() * 2));
        size_t i = home(h);
        for (; slots_[i].key && slots_[i].key != h; i = next(i)) {
        }
        if (!slots_[i].key)
            ++count_;
        slots_[i] = {h, e};
    }
    void erase(quint64 h)
    {
        if (!h || slots_.empty())
            return;
        size_t i = home(h);
        for (; slots_[i].key != h; i = next(i))
            if (!slots_[i].key)
                return;
        // Later entries of the run move back, so that no search stops early.
        for (size_t j = next(i);; j = next(j)) {
            if (!slots_[j].key)
                break;
            const size_t k = home(slots_[j].key);
            const bool stays = i <= j ? (i < k && k <= j) : (i < k || k <= j);
            if (!stays) {
                slots_[i] = slots_[j];
                i = j;
            }
        }
        slots_[i] = {};
        --count_;
    }
    void reserve(size_t n)
    {
        size_t c = 16;
        while (c * 4 < n * 5)
            c *= 2;
        if (c > slots_.size())
            rehash(c);
    }
    size_t size() const { return count_; }
    template <class F>
    void forEach(F f) const
    {
        for (const Slot& s : slots_)
            if (s.key)
                f(s.key, s.value);
    }

private:
    struct Slot {
        quint64 key = 0;
        Entity* value = nullptr;
    };
    size_t home(quint64 h) const { return size_t((h * 0x9E3779B97F4A7C15ull) >> shift_); }
    size_t next(size_t i) const { return (i + 1) & (slots_.size() - 1); }
    void rehash(size_t capacity) // a power of two
    {
        std::vector<Slot> old;
        old.swap(slots_);
        slots_.assign(capacity, Slot{});
        shift_ = 64;
        for (size_t c = capacity; c > 1; c >>= 1)
            --shift_;
        count_ = 0;
        for (const Slot& s : old)
            if (s.key)
                set(s.key, s.value);
    }

    std::vector<Slot> slots_;
    size_t count_ = 0;
    int shift_ = 64;
};

} // namespace kelvor::cad
