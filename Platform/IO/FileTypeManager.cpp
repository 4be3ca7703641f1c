#include "IO/FileTypeManager.hpp"

#include <map>
#include <string>
#include <vector>

#include "GSRoot/Internal.hpp"

namespace FTM {

namespace {

struct Type {
    TypeID id;
    GroupID group;
    GS::UniString description, extension;
};

struct Types {
    std::map<std::string, GroupID> rootByManager;
    std::vector<Type> types;
    GroupID nextGroup = 1;
    TypeID nextType = 1;
};

Types& All() { return GS::Internal::Immortal<Types>(); }

}  // namespace

FileTypeManager::FileTypeManager(const char* n) : name(n != nullptr ? n : "")
{
    Types& t = All();
    if (t.rootByManager.count(name.ToUtf8()) == 0)
        t.rootByManager[name.ToUtf8()] = t.nextGroup++;
}

GroupID FileTypeManager::GetRootGroup() const { return All().rootByManager[name.ToUtf8()]; }

TypeID FileTypeManager::SearchForType(const FileType& type, GroupID group) const
{
    for (const Type& t : All().types)
        if (t.group == group && t.extension.IsEqual(type.extension, true))
            return t.id;
    return UnknownType;
}

TypeID FileTypeManager::AddType(const FileType& type, GroupID group)
{
    Types& t = All();
    Type entry{t.nextType++, group, type.description, type.extension};
    t.types.push_back(entry);
    return entry.id;
}

bool FileTypeManager::GetType(TypeID id, GS::UniString* description, GS::UniString* extension)
{
    for (const Type& t : All().types)
        if (t.id == id) {
            if (description != nullptr)
                *description = t.description;
            if (extension != nullptr)
                *extension = t.extension;
            return true;
        }
    return false;
}

}  // namespace FTM
