#pragma once
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "GSRoot/Definitions.hpp"
#include "GSRoot/Exceptions.hpp"

namespace GS {

template <typename T>
class Array {
public:
    Array() = default;
    Array(std::initializer_list<T> items) : items(items) {}

    void Push(const T& item) { items.push_back(item); }
    void Push(T&& item) { items.push_back(std::move(item)); }
    void Insert(UIndex at, const T& item)
    {
        CheckIndex(at, true);
        items.insert(items.begin() + at, item);
    }
    void Delete(UIndex at)
    {
        CheckIndex(at, false);
        items.erase(items.begin() + at);
    }
    void Pop() { Delete(GetSize() - 1); }
    void Clear() { items.clear(); }
    void SetSize(USize size) { items.resize(size); }
    USize GetSize() const { return static_cast<USize>(items.size()); }
    bool IsEmpty() const { return items.empty(); }

    T& operator[](UIndex i) { CheckIndex(i, false); return items[i]; }
    const T& operator[](UIndex i) const { CheckIndex(i, false); return items[i]; }
    T& Get(UIndex i) { return (*this)[i]; }
    const T& Get(UIndex i) const { return (*this)[i]; }
    T& GetFirst() { return (*this)[0]; }
    const T& GetFirst() const { return (*this)[0]; }
    T& GetLast() { return (*this)[GetSize() - 1]; }
    const T& GetLast() const { return (*this)[GetSize() - 1]; }

    bool Contains(const T& item) const { return std::find(items.begin(), items.end(), item) != items.end(); }
    UIndex FindFirst(const T& item) const
    {
        auto it = std::find(items.begin(), items.end(), item);
        return it == items.end() ? MaxUIndex : static_cast<UIndex>(it - items.begin());
    }

    bool operator==(const Array& other) const { return items == other.items; }
    bool operator!=(const Array& other) const { return items != other.items; }

    auto begin() { return items.begin(); }
    auto end() { return items.end(); }
    auto begin() const { return items.begin(); }
    auto end() const { return items.end(); }

    std::vector<T>& Std() { return items; }
    const std::vector<T>& Std() const { return items; }

private:
    void CheckIndex(UIndex i, bool allowEnd) const
    {
        if (i > items.size() || (!allowEnd && i == items.size()))
            throw IndexOutOfBoundsException();
    }

    std::vector<T> items;
};

// The host's fixed-buffer array behaves as an ordinary array here.
template <typename T, USize N>
using ArrayFB = Array<T>;

}  // namespace GS
