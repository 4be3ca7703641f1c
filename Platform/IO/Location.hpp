#pragma once
// File locations and files over the real file system.
#include "GSRoot/Definitions.hpp"
#include "GSRoot/UniString.hpp"

namespace IO {

using GS::USize;

constexpr GSErrCode FileNotFound = static_cast<GSErrCode>(0x82010001u);
constexpr GSErrCode AccessDenied = static_cast<GSErrCode>(0x82010002u);
constexpr GSErrCode IOError = static_cast<GSErrCode>(0x82010003u);
constexpr GSErrCode BadLocation = static_cast<GSErrCode>(0x82010004u);
constexpr GSErrCode NotOpen = static_cast<GSErrCode>(0x82010005u);

// A place in the file system, made from a path text (UTF-8 at the edge).
class Location {
public:
    Location() = default;
    explicit Location(const GS::UniString& path) : path(path) {}

    // The path; BadLocation when the location is empty.
    GSErrCode ToPath(GS::UniString* result) const;
    GS::UniString ToDisplayText() const { return path; }
    bool IsEmpty() const { return path.IsEmpty(); }
    // The last component (the file name).
    GS::UniString GetLastLocalName() const;

private:
    GS::UniString path;
};

class FileSystem {
public:
    // True when something (file or folder) exists at the location.
    bool Contains(const Location& location) const;
};
extern FileSystem fileSystem;

// From now on no file of the process can grow beyond the size: a write past it fails as on a full
// disk, whoever writes. Tests use it to try failed writes; 0 lifts the limit.
void LimitFileSize(UInt64 bytes);

// A file at a location. Write modes never leave a half-written file: they write beside the target
// and put the result in its place when Close succeeds; dropping the file object abandons the write.
// A target that is a link has the file it names replaced; one that exists and is no regular file
// (folder, FIFO, device) is refused by Open. The new file keeps the replaced one's permissions.
class File {
public:
    enum OnNotFound : Int32 { Fail = 0, Create = 1 };
    enum OpenMode : Int32 { ReadMode = 0, WriteMode = 1, WriteEmptyMode = 2, ReadWriteMode = 3 };

    explicit File(const Location& location, OnNotFound onNotFound = Fail);
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // NoError, or why the file cannot be used (FileNotFound for a missing file with Fail).
    GSErrCode GetStatus() const;
    GSErrCode Open(OpenMode mode);
    GSErrCode GetDataLength(UInt64* length) const;
    GSErrCode ReadBin(char* buffer, USize count, USize* read = nullptr);
    GSErrCode WriteBin(const char* buffer, USize count, USize* written = nullptr);
    GSErrCode Close();
    bool IsOpen() const;
    // Open for writing: the file beside the target that the writes go to, for a writer that must be
    // given a path. It writes and closes that file itself before Close puts it in place.
    Location GetWriteLocation() const;

private:
    struct Impl;
    Impl* impl;
};

}  // namespace IO
