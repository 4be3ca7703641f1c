#include "Calvora/AddOnMain.hpp"

#include "Calvora/MenuCommands.hpp"
#include "Database/ProjectDatabase.hpp"
#include "HostApi/Guard.hpp"
#include "HostApi/HostCalls.hpp"
#include "Palettes/CalvoraPalette.hpp"
#include "Palettes/ElementItemsPalette.hpp"
#include "RS/RS.hpp"

namespace {
constexpr GS::Int16 kMenus[] = {kMenuShowPalette, kMenuLinksExplorer, kMenuSyncAll, kMenuImport, kMenuExport};
constexpr GS::Int16 kPromptOffset = 6;

using Command = void (*)();
struct MenuCommand {
    GS::Int16 menu;
    GS::Int32 entry;
    const char* name;
    Command run;
};
const MenuCommand kCommands[] = {
    {kMenuShowPalette, 1, "DoShowCalvoraPalette", DoShowCalvoraPalette},
    {kMenuLinksExplorer, 1, "DoShowElementItemsPalette", DoShowElementItemsPalette},
    {kMenuSyncAll, 1, "DoSyncAllQuantities", DoSyncAllQuantities},
    {kMenuImport, 1, "DoImportSql", DoImportSql},
    {kMenuImport, 2, "DoImportExcel", DoImportExcel},
    {kMenuExport, 1, "DoExportXlsx", DoExportXlsx},
    {kMenuExport, 2, "DoExportSql", DoExportSql},
};

// Every step runs whatever the earlier ones did.
void UnloadEventHandlers()
{
    Guarded("FreeData: unregistering the main palette",
            [] { HostUnregisterPalette(CalvoraPalette::GetPaletteRefId()); });
    Guarded("FreeData: destroying the main palette", [] { CalvoraPalette::DestroyInstance(); });
    Guarded("FreeData: unregistering the Element Links Explorer",
            [] { HostUnregisterPalette(ElementItemsPalette::GetPaletteRefId()); });
    Guarded("FreeData: destroying the Element Links Explorer", [] { ElementItemsPalette::DestroyInstance(); });
    Guarded("FreeData: removing the selection handler", [] { HostCatchSelectionChange(nullptr); });
    Guarded("FreeData: removing the project-event handler",
            [] { HostCatchProjectEvent(kProjectEventMask, nullptr); });
}

// A visible Explorer lists the links of the current selection.
void RefreshVisibleExplorer(const char* where)
{
    Guarded(where, [] {
        if (ElementItemsPalette::HasInstance() && ElementItemsPalette::GetInstance().IsVisible())
            ElementItemsPalette::GetInstance().RefreshFromSelection();
    });
}

// After New, Open and Close the palettes must not go on showing the previous project's estimate.
void RefreshPalettesForNewProject()
{
    RefreshMainPalette("ProjectEventHandler: refreshing the main palette");
    RefreshVisibleExplorer("ProjectEventHandler: refreshing the Element Links Explorer");
}

// When the host failed to hand over the project's stored estimate, each command first tries to
// read it again and shows it once it is read; the user hears once that nothing is stored till then.
void ReadStoredEstimateAgain()
{
    Guarded("MenuCommandHandler: reading the stored estimate again", [] {
        if (ProjectDatabase::instance().retryStoredRead())
            RefreshPalettesForNewProject();
    });
}

void TellOfUnreadEstimate()
{
    if (ProjectDatabase::instance().takeUnreadNotice())
        FailureAlert("reading the stored estimate",
                     "The estimate stored in this project could not be read. Changes will not be stored until it can be read.", "");
}
}  // namespace

GS::Int32 CheckEnvironment(API_EnvirParams* envir)
{
    if (!CalvoraHostTablePresent() || envir == nullptr)
        return 0;
    return GuardedResult<GS::Int32>("CheckEnvironment", 0, [&] {
        RSGetIndString_ParamAdapter(&envir->addOnName, kEnvironmentStrings, EnvironmentStrings::AddOnName,
                                    HostGetOwnResModule(), 0, __FILE__, __LINE__);
        RSGetIndString_ParamAdapter(&envir->addOnDescription, kEnvironmentStrings, EnvironmentStrings::AddOnDescription,
                                    HostGetOwnResModule(), 0, __FILE__, __LINE__);
        return 1;
    });
}

GSErrCode RegisterInterface()
{
    if (!CalvoraHostTablePresent())
        return APIERR_NOTABLE;
    return GuardedResult<GSErrCode>("RegisterInterface", APIERR_GENERAL, [] {
        GSErrCode err = NoError;
        for (GS::Int16 menu : kMenus)
            err = HostRegisterMenu(menu, static_cast<GS::Int16>(menu + kPromptOffset), 0, 0);
        return err;
    });
}

GSErrCode Initialize()
{
    if (!CalvoraHostTablePresent())
        return APIERR_NOTABLE;
    return GuardedResult<GSErrCode>("Initialize", APIERR_GENERAL, [] {
        for (GS::Int16 menu : kMenus)
            HostInstallMenuHandler(menu, MenuCommandHandler);
        GSErrCode err = HostCatchProjectEvent(kProjectEventMask, ProjectEventHandler);
        if (err == NoError)
            err = CalvoraPalette::RegisterPaletteControlCallBack();
        if (err == NoError)
            err = ElementItemsPalette::RegisterPaletteControlCallBack();
        if (err == NoError)
            err = HostCatchSelectionChange(SelectionChangeHandler);
        return err;
    });
}

// Unloading never fails: every step runs whatever the earlier ones did.
GSErrCode FreeData()
{
    if (!CalvoraHostTablePresent())
        return APIERR_NOTABLE;
    UnloadEventHandlers();
    return NoError;
}

GSErrCode MenuCommandHandler(const API_MenuParams* menuParams)
{
    Guarded("MenuCommandHandler", [&] {
        if (menuParams == nullptr)
            return;
        for (const MenuCommand& command : kCommands) {
            if (command.menu == menuParams->menuResID && command.entry == menuParams->itemIndex) {
                ReadStoredEstimateAgain();
                GuardedCommand(command.name, command.run);
                TellOfUnreadEstimate();
            }
        }
    });
    return NoError;
}

GSErrCode ProjectEventHandler(API_NotifyEventID notifID, GS::Int32)
{
    Guarded("ProjectEventHandler", [&] {
        ProjectDatabase& db = ProjectDatabase::instance();
        switch (notifID) {
            case APINotify_New:
            case APINotify_NewAndReset:
                db.resetToEmpty();
                RefreshPalettesForNewProject();
                break;
            case APINotify_Open:
                db.reopen();
                RefreshPalettesForNewProject();
                TellOfUnreadEstimate();
                break;
            case APINotify_Close:
                // Loading now would read the closing project again: start empty, as on New.
                db.resetToEmpty();
                RefreshPalettesForNewProject();
                break;
            default:
                break;
        }
    });
    return NoError;
}

GSErrCode SelectionChangeHandler(const API_Neig*)
{
    RefreshVisibleExplorer("SelectionChangeHandler: Element Links Explorer");
    Guarded("SelectionChangeHandler: main palette", [] {
        if (CalvoraPalette::HasInstance() && CalvoraPalette::GetInstance().IsVisible())
            CalvoraPalette::GetInstance().UpdateSelectedElements();
    });
    return NoError;
}
