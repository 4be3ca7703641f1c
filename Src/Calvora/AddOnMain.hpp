#pragma once
#include "API/ApiTypes.hpp"

// The four entry points the host calls in the add-on's life cycle.
GS::Int32 CheckEnvironment(API_EnvirParams* envir);
GSErrCode RegisterInterface();
GSErrCode Initialize();
GSErrCode FreeData();

GSErrCode MenuCommandHandler(const API_MenuParams* menuParams);
GSErrCode ProjectEventHandler(API_NotifyEventID notifID, GS::Int32 param);
GSErrCode SelectionChangeHandler(const API_Neig* selElemNeig);

// The menus in the order they are registered.
constexpr GS::Int16 kMenuShowPalette = 32500;
constexpr GS::Int16 kMenuLinksExplorer = 32501;
constexpr GS::Int16 kMenuSyncAll = 32502;
constexpr GS::Int16 kMenuImport = 32503;
constexpr GS::Int16 kMenuExport = 32504;
constexpr GS::Int16 kEnvironmentStrings = 32000;
constexpr GSFlags kProjectEventMask = APINotify_New | APINotify_NewAndReset | APINotify_Open | APINotify_Close;
