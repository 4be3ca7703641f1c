#pragma once
// What the host hands out is owned by a holder from the moment it is taken and given back exactly
// once, on every path, also when an exception leaves. One move-only holder per kind; nothing else
// in the add-on takes or releases it (scripts/check-handles.py).
#include <utility>

#include "GSRoot/Memory.hpp"
#include "HostApi/HostElementCalls.hpp"

// Whole records of T in a memory handle; 0 for no handle.
template <typename T>
GSSize HandleRecords(T** handle)
{
    if (handle == nullptr)
        return 0;
    return BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle)) / static_cast<GSSize>(sizeof(T));
}

// A memory handle (a story list, a texture name, a module data image), killed with the memory manager.
template <typename T = char>
class HeldHandle {
public:
    explicit HeldHandle(T** handle = nullptr) : handle(handle) {}
    HeldHandle(HeldHandle&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    HeldHandle& operator=(HeldHandle&& other) noexcept
    {
        std::swap(handle, other.handle);
        return *this;
    }
    ~HeldHandle()
    {
        if (handle == nullptr)
            return;
        GSHandle raw = reinterpret_cast<GSHandle>(handle);
        BMKillHandle(&raw);
    }

    T** Get() const { return handle; }

private:
    T** handle;
};

// A record the host fills and takes back with its dispose call. Only a read that worked hands
// anything out, so only then is there something to give back.
template <typename Record, GSErrCode (*Dispose)(Record*)>
class HeldRecord {
public:
    HeldRecord(HeldRecord&& other) noexcept : record(other.record), held(std::exchange(other.held, false)) {}
    HeldRecord& operator=(HeldRecord&& other) noexcept
    {
        std::swap(record, other.record);
        std::swap(held, other.held);
        return *this;
    }
    ~HeldRecord()
    {
        if (held)
            Dispose(&record);
    }

    // False when the read failed.
    explicit operator bool() const { return held; }
    const Record& operator*() const { return record; }
    const Record* operator->() const { return &record; }

protected:
    template <typename Read>
    explicit HeldRecord(Read read) : held(read(&record) == NoError)
    {
    }

private:
    Record record{};
    bool held;
};

class HeldMemo : public HeldRecord<API_ElementMemo, HostDisposeElementMemo> {
public:
    // The memo parts of the mask (APIMemoMask_...).
    HeldMemo(const API_Guid& guid, GS::UInt64 mask)
        : HeldRecord([&](API_ElementMemo* memo) { return HostGetElementMemo(guid, memo, mask); })
    {
    }
};

class HeldAttributeDef : public HeldRecord<HostAttributeDef, HostDisposeAttributeDef> {
public:
    HeldAttributeDef(GS::Int32 typeID, GS::Int32 index)
        : HeldRecord([&](HostAttributeDef* def) { return HostGetAttributeDef(typeID, index, def); })
    {
    }
};

class HeldAttributeDefExt : public HeldRecord<HostAttributeDefExt, HostDisposeAttributeDefExt> {
public:
    HeldAttributeDefExt(GS::Int32 typeID, GS::Int32 index)
        : HeldRecord([&](HostAttributeDefExt* defExt) { return HostGetAttributeDefExt(typeID, index, defExt); })
    {
    }
};

class HeldLibPartParams : public HeldRecord<HostLibPartParams, HostDisposeLibPartParams> {
public:
    explicit HeldLibPartParams(GS::Int32 libInd)
        : HeldRecord([&](HostLibPartParams* params) { return HostGetLibPartParams(libInd, params); })
    {
    }
};
