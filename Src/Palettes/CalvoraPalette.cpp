#include "Palettes/CalvoraPalette.hpp"

#include "Database/ProjectDatabase.hpp"
#include "HostApi/HostCalls.hpp"

CalvoraPalette::CalvoraPalette()
    : DG::Palette(HostGetOwnResModule(), ResourceId, HostGetOwnResModule()), CalvoraPanel(*this, ResourceId)
{
    BeginEventProcessing();
}

CalvoraPalette::~CalvoraPalette()
{
    EndEventProcessing();
}

void CalvoraPalette::DestroyInstance()
{
    ProjectDatabase::instance().saveToProject();
    PaletteSupport::DestroyInstance();
}

void CalvoraPalette::Show()
{
    ShowWithCheckMark();
}

void CalvoraPalette::Hide()
{
    HideWithCheckMark();
    ProjectDatabase::instance().saveToProject();
}

void CalvoraPalette::PanelCloseRequested(const DG::PanelCloseRequestEvent&, bool* accepted)
{
    HideOnClose(accepted);
}
