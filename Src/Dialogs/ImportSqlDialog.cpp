#include "Dialogs/ImportSqlDialog.hpp"

#include "DG/DGUtility.hpp"
#include "HostApi/Guard.hpp"
#include "HostApi/HostCalls.hpp"
#include "Dialogs/FileTypeFilter.hpp"
#include "VumoFuncs/VumoFuncs.hpp"

ImportSqlDialog::ImportSqlDialog()
    : DG::ModalDialog(HostGetOwnResModule(), ResourceId, HostGetOwnResModule()),
      okButton(*this, 1),
      cancelButton(*this, 2),
      fileLabel(*this, 3),
      fileName(*this, 4),
      browseButton(*this, 5),
      skipLinked(*this, 6)
{
    Attach(*this);
    AttachToAllItems(*this);
}

ImportSqlDialog::~ImportSqlDialog()
{
    Detach(*this);
    DetachFromAllItems(*this);
}

IO::Location ImportSqlDialog::GetLocation() const
{
    return IO::Location(fileName.GetText());
}

void ImportSqlDialog::PanelResized(const DG::PanelResizeEvent& ev)
{
    Guarded("ImportSqlDialog::PanelResized", [&] {
        const GS::Int16 dx = ev.GetHorizontalChange();
        const GS::Int16 dy = ev.GetVerticalChange();
        if (dx == 0 && dy == 0)
            return;
        BeginMoveResizeItems();
        okButton.Move(dx, dy);
        cancelButton.Move(dx, dy);
        fileName.Resize(dx, 0);
        browseButton.Move(dx, 0);
        EndMoveResizeItems();
    });
}

void ImportSqlDialog::PanelCloseRequested(const DG::PanelCloseRequestEvent& ev, bool* accepted)
{
    Guarded("ImportSqlDialog::PanelCloseRequested", [&] {
        if (ev.IsCancelled())
            return;
        const IO::Location location = GetLocation();
        if (!location.IsEmpty() && IO::fileSystem.Contains(location))
            return;
        if (accepted != nullptr)
            *accepted = false;
        DGAlert(DG::DG_ERROR, GetResString(TextsId, 2), GetResString(TextsId, 3), GS::UniString(),
                GetResString(TextsId, 4));
    });
}

void ImportSqlDialog::ButtonClicked(const DG::ButtonClickEvent& ev)
{
    Guarded("ImportSqlDialog::ButtonClicked", [&] {
        if (ev.GetSource() == &okButton)
            PostCloseRequest(DG::Accept);
        else if (ev.GetSource() == &cancelButton)
            PostCloseRequest(DG::Cancel);
        else if (ev.GetSource() == &browseButton)
            Browse();
    });
}

void ImportSqlDialog::Browse()
{
    DG::FileDialog dialog(DG::FileDialog::OpenFile);
    dialog.SetTitle(GetResString(TextsId, 1));
    AddFileTypeFilter(dialog, "SQL files", "sql");
    if (!dialog.Invoke())
        return;
    GS::UniString path;
    if (dialog.GetSelectedFile().ToPath(&path) == NoError)
        fileName.SetText(path);
}

