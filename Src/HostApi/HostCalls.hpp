#pragma once
// Every call into the host goes through the function table it handed over.
#include <utility>

#include "API/ApiTable.hpp"

// Copies the host's table (643 entries) and marks it present.
void CalvoraSetHostTable(const void* table);
// Forgets the table, as before the host handed it over.
void CalvoraClearHostTable();
bool CalvoraHostTablePresent();
// The table's entry for a slot; nullptr when there is no table or no entry.
void* CalvoraHostEntry(ApiSlot slot);

// Calls a slot's function, or answers APIERR_MISSINGENTRY without calling when it is empty.
template <typename Fn, typename... Args>
GSErrCode CallHostSlot(ApiSlot slot, Args&&... args)
{
    auto fn = reinterpret_cast<Fn>(CalvoraHostEntry(slot));
    if (fn == nullptr)
        return APIERR_MISSINGENTRY;
    return fn(std::forward<Args>(args)...);
}

GSErrCode HostRegisterMenu(GS::Int16 menuResID, GS::Int16 promptResID, GS::Int32 position, GSFlags flags);
GSErrCode HostInstallMenuHandler(GS::Int16 menuResID, APIMenuCommandProc handler);
GSErrCode HostGetMenuItemFlags(const API_MenuItemRef* ref, GSFlags* flags);
GSErrCode HostSetMenuItemFlags(const API_MenuItemRef* ref, GSFlags* flags);

GSErrCode HostRegisterPalette(GS::Int32 referenceID, APIPaletteControlCallBackProc callback, GSFlags controlFlags,
                              const API_Guid& paletteGuid);
GSErrCode HostUnregisterPalette(GS::Int32 referenceID);
void HostKeepInMemory(bool keep);

GSErrCode HostCatchProjectEvent(GSFlags eventMask, APIProjectEventHandlerProc handler);
GSErrCode HostCatchSelectionChange(APISelectionChangeHandlerProc handler);

GSErrCode HostGetModuleData(API_ModulData* info, const GS::UniString& modulName);
GSErrCode HostStoreModuleData(const API_ModulData* info, const GS::UniString& modulName);
// Each entry is a triple (description, key, value).
GSErrCode HostGetAutoTexts(GS::Array<GS::ArrayFB<GS::UniString, 3>>* autoTexts, GS::Int32 type);

// Answers APIERR_NOSEL when nothing is selected.
GSErrCode HostGetSelection(API_SelectionInfo* info, GS::Array<API_Neig>* neigs, bool onlyEditable);
GSErrCode HostSelectElements(const GS::Array<API_Neig>& neigs, bool add);
GSErrCode HostZoomToElements(const GS::Array<API_Guid>& guids);

API_WindowHandle HostGetMainWindow();
void HostWriteReport(bool withAlert, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The add-on's own resource module, opened when the module is loaded.
GS::Int32 HostGetOwnResModule();
