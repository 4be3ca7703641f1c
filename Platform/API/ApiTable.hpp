#pragma once
// The host's table of API functions: one slot per operation.
#include "API/ApiTypes.hpp"

constexpr int kApiTableSize = 643;

struct API_FunctionTable {
    void* entries[kApiTableSize];
};
static_assert(sizeof(API_FunctionTable) == 5144, "643 entries of 8 bytes");

enum ApiSlot : GS::Int32 {
    // menus, palettes, events
    Slot_RegisterMenu = 10,
    Slot_InstallMenuHandler = 11,
    Slot_GetMenuItemFlags = 12,
    Slot_SetMenuItemFlags = 13,
    Slot_RegisterPalette = 20,
    Slot_UnregisterPalette = 21,
    Slot_KeepInMemory = 22,
    Slot_CatchProjectEvent = 30,
    Slot_CatchSelectionChange = 31,
    // project data and environment
    Slot_GetModuleData = 40,
    Slot_StoreModuleData = 41,
    Slot_GetAutoTexts = 42,
    Slot_GetMainWindow = 43,
    Slot_WriteReport = 44,
    // selection and view
    Slot_GetSelection = 50,
    Slot_SelectElements = 51,
    Slot_ZoomToElements = 52,
    // elements
    Slot_GetElement = 100,
    Slot_GetElementHeader = 101,
    Slot_GetElementMemo = 102,
    Slot_DisposeElementMemo = 103,
    Slot_GetElementQuantities = 104,
    Slot_GetElementInfoString = 105,
    // properties
    Slot_GetElementPropertyDefinitions = 120,
    Slot_GetElementProperty = 121,
    Slot_GetElementProperties = 122,
    Slot_IsValidPropertyValue = 123,
    // attributes
    Slot_AttributeGet = 140,
    Slot_GetAttributeDef = 141,
    Slot_DisposeAttributeDef = 142,
    Slot_GetAttributeDefExt = 143,
    Slot_DisposeAttributeDefExt = 144,
    Slot_GetPen = 145,
    // databases
    Slot_GetCurrentDatabase = 160,
    Slot_ChangeDatabase = 161,
    Slot_GetContainingDatabase = 162,
    Slot_GetStorySettings = 163,
    // library parts
    Slot_GetLibPartParams = 180,
    Slot_DisposeLibPartParams = 181,
};

// Function types of the non-element slots.
using HostRegisterMenuFn = GSErrCode (*)(GS::Int16 menuResID, GS::Int16 promptResID, GS::Int32 position,
                                         GSFlags flags);
using HostInstallMenuHandlerFn = GSErrCode (*)(GS::Int16 menuResID, APIMenuCommandProc handler);
using HostGetMenuItemFlagsFn = GSErrCode (*)(const API_MenuItemRef* ref, GSFlags* flags);
using HostSetMenuItemFlagsFn = GSErrCode (*)(const API_MenuItemRef* ref, GSFlags* flags);
using HostRegisterPaletteFn = GSErrCode (*)(GS::Int32 referenceID, APIPaletteControlCallBackProc callback,
                                            GSFlags controlFlags, const API_Guid* paletteGuid);
using HostUnregisterPaletteFn = GSErrCode (*)(GS::Int32 referenceID);
using HostKeepInMemoryFn = void (*)(bool keep);
using HostCatchProjectEventFn = GSErrCode (*)(GSFlags eventMask, APIProjectEventHandlerProc handler);
using HostCatchSelectionChangeFn = GSErrCode (*)(APISelectionChangeHandlerProc handler);
using HostGetModuleDataFn = GSErrCode (*)(API_ModulData* info, const GS::UniString* modulName);
using HostStoreModuleDataFn = GSErrCode (*)(const API_ModulData* info, const GS::UniString* modulName);
using HostGetAutoTextsFn = GSErrCode (*)(GS::Array<GS::ArrayFB<GS::UniString, 3>>* autoTexts, GS::Int32 type);
using HostGetMainWindowFn = API_WindowHandle (*)();
using HostWriteReportFn = void (*)(const char* text, bool withAlert);
using HostGetSelectionFn = GSErrCode (*)(API_SelectionInfo* info, GS::Array<API_Neig>* neigs, bool onlyEditable);
using HostSelectElementsFn = GSErrCode (*)(const GS::Array<API_Neig>* neigs, bool add);
using HostZoomToElementsFn = GSErrCode (*)(const GS::Array<API_Guid>* guids);
