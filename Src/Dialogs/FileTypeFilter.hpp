#pragma once
#include "DG/DGUtility.hpp"
#include "IO/FileTypeManager.hpp"
#include "IO/Location.hpp"

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

// Asks for one file of the extension; false when the user cancelled.
inline bool AskForFile(DG::FileDialog::Type type, const GS::UniString& title, const char* managerName,
                       const char* extension, IO::Location* location)
{
    DG::FileDialog dialog(type);
    dialog.SetTitle(title);
    AddFileTypeFilter(dialog, managerName, extension);
    if (!dialog.Invoke())
        return false;
    *location = dialog.GetSelectedFile();
    return true;
}
