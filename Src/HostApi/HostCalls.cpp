#include "HostApi/HostCalls.hpp"

#include <cstdarg>
#include <cstring>

#include "GSRoot/UniString.hpp"

namespace {
API_FunctionTable hostTable;
bool hostTablePresent = false;
}  // namespace

void CalvoraSetHostTable(const void* table)
{
    if (table == nullptr)
        return;
    std::memcpy(&hostTable, table, sizeof hostTable);
    hostTablePresent = true;
}

void CalvoraClearHostTable()
{
    std::memset(&hostTable, 0, sizeof hostTable);
    hostTablePresent = false;
}

bool CalvoraHostTablePresent() { return hostTablePresent; }

void* CalvoraHostEntry(ApiSlot slot)
{
    if (!hostTablePresent || slot < 0 || slot >= kApiTableSize)
        return nullptr;
    return hostTable.entries[slot];
}

GSErrCode HostRegisterMenu(GS::Int16 menuResID, GS::Int16 promptResID, GS::Int32 position, GSFlags flags)
{
    return CallHostSlot<HostRegisterMenuFn>(Slot_RegisterMenu, menuResID, promptResID, position, flags);
}

GSErrCode HostInstallMenuHandler(GS::Int16 menuResID, APIMenuCommandProc handler)
{
    return CallHostSlot<HostInstallMenuHandlerFn>(Slot_InstallMenuHandler, menuResID, handler);
}

GSErrCode HostGetMenuItemFlags(const API_MenuItemRef* ref, GSFlags* flags)
{
    return CallHostSlot<HostGetMenuItemFlagsFn>(Slot_GetMenuItemFlags, ref, flags);
}

GSErrCode HostSetMenuItemFlags(const API_MenuItemRef* ref, GSFlags* flags)
{
    return CallHostSlot<HostSetMenuItemFlagsFn>(Slot_SetMenuItemFlags, ref, flags);
}

GSErrCode HostRegisterPalette(GS::Int32 referenceID, APIPaletteControlCallBackProc callback, GSFlags controlFlags,
                              const API_Guid& paletteGuid)
{
    return CallHostSlot<HostRegisterPaletteFn>(Slot_RegisterPalette, referenceID, callback, controlFlags,
                                               &paletteGuid);
}

GSErrCode HostUnregisterPalette(GS::Int32 referenceID)
{
    return CallHostSlot<HostUnregisterPaletteFn>(Slot_UnregisterPalette, referenceID);
}

void HostKeepInMemory(bool keep)
{
    auto fn = reinterpret_cast<HostKeepInMemoryFn>(CalvoraHostEntry(Slot_KeepInMemory));
    if (fn != nullptr)
        fn(keep);
}

GSErrCode HostCatchProjectEvent(GSFlags eventMask, APIProjectEventHandlerProc handler)
{
    return CallHostSlot<HostCatchProjectEventFn>(Slot_CatchProjectEvent, eventMask, handler);
}

GSErrCode HostCatchSelectionChange(APISelectionChangeHandlerProc handler)
{
    return CallHostSlot<HostCatchSelectionChangeFn>(Slot_CatchSelectionChange, handler);
}

GSErrCode HostGetModuleData(API_ModulData* info, const GS::UniString& modulName)
{
    return CallHostSlot<HostGetModuleDataFn>(Slot_GetModuleData, info, &modulName);
}

GSErrCode HostStoreModuleData(const API_ModulData* info, const GS::UniString& modulName)
{
    return CallHostSlot<HostStoreModuleDataFn>(Slot_StoreModuleData, info, &modulName);
}

GSErrCode HostGetAutoTexts(GS::Array<GS::ArrayFB<GS::UniString, 3>>* autoTexts, GS::Int32 type)
{
    return CallHostSlot<HostGetAutoTextsFn>(Slot_GetAutoTexts, autoTexts, type);
}

GSErrCode HostGetSelection(API_SelectionInfo* info, GS::Array<API_Neig>* neigs, bool onlyEditable)
{
    return CallHostSlot<HostGetSelectionFn>(Slot_GetSelection, info, neigs, onlyEditable);
}

GSErrCode HostSelectElements(const GS::Array<API_Neig>& neigs, bool add)
{
    return CallHostSlot<HostSelectElementsFn>(Slot_SelectElements, &neigs, add);
}

GSErrCode HostZoomToElements(const GS::Array<API_Guid>& guids)
{
    return CallHostSlot<HostZoomToElementsFn>(Slot_ZoomToElements, &guids);
}

API_WindowHandle HostGetMainWindow()
{
    auto fn = reinterpret_cast<HostGetMainWindowFn>(CalvoraHostEntry(Slot_GetMainWindow));
    return fn != nullptr ? fn() : nullptr;
}

void HostWriteReport(bool withAlert, const char* format, ...)
{
    auto fn = reinterpret_cast<HostWriteReportFn>(CalvoraHostEntry(Slot_WriteReport));
    if (fn == nullptr)
        return;
    va_list args;
    va_start(args, format);
    GS::UniString text = GS::UniString::VPrintf(format, args);
    va_end(args);
    fn(text.ToCStr().Get(), withAlert);
}
