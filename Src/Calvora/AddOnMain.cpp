#include "Calvora/AddOnMain.hpp"

#include <exception>

#include "HostApi/HostCalls.hpp"
#include "Database/ProjectDatabase.hpp"
#include "GSRoot/Debug.hpp"
#include "RS/RS.hpp"

namespace {
constexpr GS::Int16 kMenus[] = {kMenuShowPalette, kMenuLinksExplorer, kMenuSyncAll, kMenuImport, kMenuExport};
constexpr GS::Int16 kPromptOffset = 6;

// No exception may reach the host: it goes to the debug output instead.
template <typename F>
GSErrCode Guarded(const char* where, F&& body, GSErrCode onException = NoError)
{
    try {
        return body();
    } catch (const std::exception& e) {
        DBPrintf("Unhandled exception in %s: %s\n", where, e.what());
    } catch (...) {
        DBPrintf("Unhandled exception in %s\n", where);
    }
    return onException;
}
}  // namespace

GS::Int32 CheckEnvironment(API_EnvirParams* envir)
{
    if (!CalvoraHostTablePresent() || envir == nullptr)
        return 0;
    return Guarded("CheckEnvironment", [&]() -> GSErrCode {
        RSGetIndString_ParamAdapter(&envir->addOnName, kEnvironmentStrings, 1, HostGetOwnResModule(), 0, __FILE__,
                                    __LINE__);
        RSGetIndString_ParamAdapter(&envir->addOnDescription, kEnvironmentStrings, 2, HostGetOwnResModule(), 0,
                                    __FILE__, __LINE__);
        return 1;
    });
}

GSErrCode RegisterInterface()
{
    if (!CalvoraHostTablePresent())
        return APIERR_NOTABLE;
    return Guarded(
        "RegisterInterface",
        [] {
            GSErrCode err = NoError;
            for (GS::Int16 menu : kMenus)
                err = HostRegisterMenu(menu, static_cast<GS::Int16>(menu + kPromptOffset), 0, 0);
            return err;
        },
        APIERR_GENERAL);
}

GSErrCode Initialize()
{
    if (!CalvoraHostTablePresent())
        return APIERR_NOTABLE;
    return Guarded(
        "Initialize",
        [] {
            for (GS::Int16 menu : kMenus)
                HostInstallMenuHandler(menu, MenuCommandHandler);
            GSErrCode err = HostCatchProjectEvent(kProjectEventMask, ProjectEventHandler);
            if (err != NoError)
                return err;
            return HostCatchSelectionChange(SelectionChangeHandler);
        },
        APIERR_GENERAL);
}

// Unloading never fails: every step runs whatever the earlier ones did.
GSErrCode FreeData()
{
    if (!CalvoraHostTablePresent())
        return APIERR_NOTABLE;
    Guarded("FreeData", [] {
        ProjectDatabase::instance().saveToProject();
        return NoError;
    });
    HostCatchSelectionChange(nullptr);
    HostCatchProjectEvent(kProjectEventMask, nullptr);
    return NoError;
}

GSErrCode MenuCommandHandler(const API_MenuParams* menuParams)
{
    return Guarded("MenuCommandHandler", [&]() -> GSErrCode {
        if (menuParams == nullptr)
            return NoError;
        return NoError;
    });
}

GSErrCode ProjectEventHandler(API_NotifyEventID notifID, GS::Int32)
{
    return Guarded("ProjectEventHandler", [&]() -> GSErrCode {
        ProjectDatabase& db = ProjectDatabase::instance();
        switch (notifID) {
            case APINotify_New:
            case APINotify_NewAndReset:
                db.resetToEmpty();
                break;
            case APINotify_Open:
                db.reopen();
                break;
            case APINotify_Close:
                db.close();
                break;
            default:
                break;
        }
        return NoError;
    });
}

GSErrCode SelectionChangeHandler(const API_Neig*)
{
    return Guarded("SelectionChangeHandler", []() -> GSErrCode { return NoError; });
}
