#pragma once
// File types for file-dialog filters, kept by named managers (process-wide).
#include "GSRoot/Definitions.hpp"
#include "GSRoot/UniString.hpp"

namespace FTM {

using TypeID = Int32;
using GroupID = Int32;
constexpr TypeID UnknownType = 0;

struct FileType {
    GS::UniString description;
    GS::UniString extension;  // without the dot
    FileType(const char* description, const char* extension) : description(description), extension(extension) {}
};

class FileTypeManager {
public:
    // Managers of the same name share their types.
    explicit FileTypeManager(const char* name);
    GroupID GetRootGroup() const;
    // UnknownType when the group has no type of that extension.
    TypeID SearchForType(const FileType& type, GroupID group) const;
    TypeID AddType(const FileType& type, GroupID group);

    // What a type id stands for (for file dialogs); false for an unknown id.
    static bool GetType(TypeID id, GS::UniString* description, GS::UniString* extension);

private:
    GS::UniString name;
};

}  // namespace FTM
