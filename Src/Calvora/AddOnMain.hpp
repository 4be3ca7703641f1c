#pragma once
#include "API/ApiTypes.hpp"
#include "ResourceNames.hpp"

// The four entry points the host calls in the add-on's life cycle.
GS::Int32 CheckEnvironment(API_EnvirParams* envir);
GSErrCode RegisterInterface();
GSErrCode Initialize();
GSErrCode FreeData();

GSErrCode MenuCommandHandler(const API_MenuParams* menuParams);
GSErrCode ProjectEventHandler(API_NotifyEventID notifID, GS::Int32 param);
GSErrCode SelectionChangeHandler(const API_Neig* selElemNeig);

// The menus in the order they are registered.
constexpr GS::Int16 kMenuShowPalette = ShowPaletteMenuStrings::ListId;
constexpr GS::Int16 kMenuLinksExplorer = ExplorerMenuStrings::ListId;
constexpr GS::Int16 kMenuSyncAll = SyncAllMenuStrings::ListId;
constexpr GS::Int16 kMenuImport = ImportMenuStrings::ListId;
constexpr GS::Int16 kMenuExport = ExportMenuStrings::ListId;
constexpr GS::Int16 kEnvironmentStrings = EnvironmentStrings::ListId;
constexpr GSFlags kProjectEventMask = APINotify_New | APINotify_NewAndReset | APINotify_Open | APINotify_Close;
