#include "Dialogs/ImportSqlDialog.hpp"

#include "DG/DGUtility.hpp"
#include "Dialogs/FileTypeFilter.hpp"
#include "HostApi/Guard.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

namespace Items = ImportSqlDialogItems;
namespace Texts = ImportSqlDialogStrings;

ImportSqlDialog::ImportSqlDialog()
    : OkCancelDialog(ResourceId, Items::OkButton, Items::CancelButton),
      fileLabel(*this, Items::FileLabel),
      fileName(*this, Items::FileNameEdit),
      browseButton(*this, Items::BrowseButton),
      skipLinked(*this, Items::SkipLinkedCheck)
{
}

IO::Location ImportSqlDialog::GetLocation() const
{
    return IO::Location(fileName.GetText());
}

void ImportSqlDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    MoveResizeItems(*this, "ImportSqlDialog::PanelResized", ev, [&](GS::Int16 dx, GS::Int16 dy) {
        okButton.Move(dx, dy);
        cancelButton.Move(dx, dy);
        fileName.Resize(dx, 0);
        browseButton.Move(dx, 0);
    });
}

void ImportSqlDialog::PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted)
{
    CheckClose("ImportSqlDialog::PanelCloseRequested", ev, accepted, [&] {
        const IO::Location location = GetLocation();
        if (!location.IsEmpty() && IO::fileSystem.Contains(location))
            return true;
        DGAlert(DG::DG_ERROR, GetResString(TextsId, Texts::FileNotFoundTitle),
                GetResString(TextsId, Texts::FileNotFoundText), GS::UniString(), GetResString(TextsId, Texts::OkText));
        return false;
    });
}

void ImportSqlDialog::ButtonClicked(const DG::ButtonClickEvent& ev)
{
    Guarded("ImportSqlDialog::ButtonClicked", [&] {
        if (!CloseOnOkCancel(ev) && ev.GetSource() == &browseButton)
            Browse();
    });
}

void ImportSqlDialog::Browse()
{
    IO::Location location;
    GS::UniString path;
    const GS::UniString title = GetResString(TextsId, Texts::BrowseTitle);
    if (AskForFile(DG::FileDialog::OpenFile, title, "SQL files", "sql", &location) && location.ToPath(&path) == NoError)
        fileName.SetText(path);
}
