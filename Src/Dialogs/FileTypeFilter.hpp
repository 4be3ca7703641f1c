#pragma once
#include "DG/DGUtility.hpp"
#include "IO/FileTypeManager.hpp"

// Offers the files of one extension in a file dialog: the type is looked up in the root group of
// the named file-type manager and added there the first time.
inline void AddFileTypeFilter(DG::FileDialog& dialog, const char* managerName, const char* extension)
{
    FTM::FileTypeManager manager(managerName);
    const FTM::FileType type(managerName, extension);
    FTM::TypeID id = manager.SearchForType(type, manager.GetRootGroup());
    if (id == FTM::UnknownType)
        id = manager.AddType(type, manager.GetRootGroup());
    dialog.AddFilter(id, 0);
}
