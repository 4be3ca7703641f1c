#pragma once
#include <functional>
#include <optional>
#include <unordered_map>
#include <vector>

#include "GSRoot/Definitions.hpp"
#include "GSRoot/Exceptions.hpp"

namespace GS {

// Iterates in insertion order, also after deletions; overwriting a key keeps its place.
template <typename K, typename V, typename Hash = std::hash<K>>
class HashTable {
public:
    struct Entry {
        K key;
        V value;
    };

    bool Add(const K& key, const V& value)
    {
        if (index.count(key) != 0)
            return false;
        index.emplace(key, slots.size());
        slots.push_back(Entry{key, value});
        return true;
    }

    void Put(const K& key, const V& value)
    {
        auto it = index.find(key);
        if (it != index.end())
            slots[it->second]->value = value;
        else
            Add(key, value);
    }

    bool ContainsKey(const K& key) const { return index.count(key) != 0; }

    V& Get(const K& key)
    {
        V* v = GetPtr(key);
        if (v == nullptr)
            throw IllegalArgumentException("Key not found.");
        return *v;
    }
    const V& Get(const K& key) const { return const_cast<HashTable*>(this)->Get(key); }
    bool Get(const K& key, V* value) const
    {
        const V* v = GetPtr(key);
        if (v == nullptr)
            return false;
        *value = *v;
        return true;
    }

    V* GetPtr(const K& key)
    {
        auto it = index.find(key);
        return it == index.end() ? nullptr : &slots[it->second]->value;
    }
    const V* GetPtr(const K& key) const { return const_cast<HashTable*>(this)->GetPtr(key); }

    bool Delete(const K& key)
    {
        auto it = index.find(key);
        if (it == index.end())
            return false;
        slots[it->second].reset();
        index.erase(it);
        if (slots.size() > 16 && index.size() * 2 < slots.size())
            Compact();
        return true;
    }

    USize GetSize() const { return static_cast<USize>(index.size()); }
    bool IsEmpty() const { return index.empty(); }
    void Clear()
    {
        slots.clear();
        index.clear();
    }

    template <typename Slots, typename E>
    class Iter {
    public:
        Iter(Slots* s, std::size_t p) : slots(s), pos(p) { Skip(); }
        E& operator*() const { return *(*slots)[pos]; }
        E* operator->() const { return &*(*slots)[pos]; }
        Iter& operator++()
        {
            ++pos;
            Skip();
            return *this;
        }
        bool operator!=(const Iter& o) const { return pos != o.pos; }
        bool operator==(const Iter& o) const { return pos == o.pos; }

    private:
        void Skip()
        {
            while (pos < slots->size() && !(*slots)[pos].has_value())
                ++pos;
        }
        Slots* slots;
        std::size_t pos;
    };
    using iterator = Iter<std::vector<std::optional<Entry>>, Entry>;
    using const_iterator = Iter<const std::vector<std::optional<Entry>>, const Entry>;

    iterator begin() { return iterator(&slots, 0); }
    iterator end() { return iterator(&slots, slots.size()); }
    const_iterator begin() const { return const_iterator(&slots, 0); }
    const_iterator end() const { return const_iterator(&slots, slots.size()); }

private:
    void Compact()
    {
        std::vector<std::optional<Entry>> kept;
        kept.reserve(index.size());
        for (auto& s : slots)
            if (s.has_value())
                kept.push_back(std::move(s));
        slots = std::move(kept);
        index.clear();
        for (std::size_t i = 0; i < slots.size(); ++i)
            index.emplace(slots[i]->key, i);
    }

    std::vector<std::optional<Entry>> slots;
    std::unordered_map<K, std::size_t, Hash> index;
};

}  // namespace GS
