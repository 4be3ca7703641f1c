#pragma once
// The contract between the stand-in host and the add-on: records, codes and callback types.
#include <algorithm>
#include <cstddef>

#include "GSRoot/Array.hpp"
#include "GSRoot/Guid.hpp"
#include "GSRoot/UniString.hpp"

// Error codes of the host.
constexpr GSErrCode APIERR_GENERAL = static_cast<GSErrCode>(0x81060000u);      // generic failure
constexpr GSErrCode APIERR_NOTABLE = static_cast<GSErrCode>(0x81060001u);      // function table not handed over
constexpr GSErrCode APIERR_BADPARS = static_cast<GSErrCode>(0x81060003u);
constexpr GSErrCode APIERR_BADID = static_cast<GSErrCode>(0x81060030u);
constexpr GSErrCode APIERR_BADINDEX = static_cast<GSErrCode>(0x81060031u);
constexpr GSErrCode APIERR_NOSEL = static_cast<GSErrCode>(0x810600CEu);        // empty selection
constexpr GSErrCode APIERR_NOMODULEDATA = static_cast<GSErrCode>(0x810600D0u); // the project holds no such module data
constexpr GSErrCode APIERR_MISSINGENTRY = static_cast<GSErrCode>(0x81060387u); // no table entry for the call

struct API_Guid {
    GS::UInt32 time_low;
    GS::UInt16 time_mid;
    GS::UInt16 time_hi_and_version;
    GS::UInt8 clock_seq[2];
    GS::UInt8 node[6];
};
static_assert(sizeof(API_Guid) == 16, "API_Guid is 16 bytes");

inline bool operator==(const API_Guid& a, const API_Guid& b)
{
    return a.time_low == b.time_low && a.time_mid == b.time_mid && a.time_hi_and_version == b.time_hi_and_version &&
           a.clock_seq[0] == b.clock_seq[0] && a.clock_seq[1] == b.clock_seq[1] &&
           std::equal(a.node, a.node + 6, b.node);
}
inline bool operator!=(const API_Guid& a, const API_Guid& b) { return !(a == b); }

inline API_Guid GSGuid2APIGuid(const GS::Guid& g)
{
    const auto& b = g.Bytes();
    API_Guid r{};
    r.time_low = (GS::UInt32(b[0]) << 24) | (GS::UInt32(b[1]) << 16) | (GS::UInt32(b[2]) << 8) | b[3];
    r.time_mid = static_cast<GS::UInt16>((b[4] << 8) | b[5]);
    r.time_hi_and_version = static_cast<GS::UInt16>((b[6] << 8) | b[7]);
    r.clock_seq[0] = b[8];
    r.clock_seq[1] = b[9];
    for (int i = 0; i < 6; ++i)
        r.node[i] = b[10 + i];
    return r;
}

inline GS::Guid APIGuid2GSGuid(const API_Guid& g)
{
    std::array<GS::UInt8, 16> b{};
    b[0] = static_cast<GS::UInt8>(g.time_low >> 24);
    b[1] = static_cast<GS::UInt8>(g.time_low >> 16);
    b[2] = static_cast<GS::UInt8>(g.time_low >> 8);
    b[3] = static_cast<GS::UInt8>(g.time_low);
    b[4] = static_cast<GS::UInt8>(g.time_mid >> 8);
    b[5] = static_cast<GS::UInt8>(g.time_mid);
    b[6] = static_cast<GS::UInt8>(g.time_hi_and_version >> 8);
    b[7] = static_cast<GS::UInt8>(g.time_hi_and_version);
    b[8] = g.clock_seq[0];
    b[9] = g.clock_seq[1];
    for (int i = 0; i < 6; ++i)
        b[10 + i] = g.node[i];
    return GS::Guid(b);
}

constexpr API_Guid APINULLGuid = {0, 0, 0, {0, 0}, {0, 0, 0, 0, 0, 0}};

// The record GetExportedFuncAddrs fills (120 bytes).
using APIEntryPoint = GSErrCode (*)();
struct API_EnvirParams;
using APICheckEnvironmentProc = GS::Int32 (*)(API_EnvirParams* envir);
struct API_ExportedFuncs {
    GS::Int32 signature;  // 0x001C0001
    GS::Int32 reserved0;
    APICheckEnvironmentProc checkEnvironment;
    APIEntryPoint registerInterface;
    APIEntryPoint initialize;
    APIEntryPoint freeData;
    GS::Int32 apiVersion;  // 28000
    GS::Int32 reserved1;
    char reserved2[72];
};
static_assert(sizeof(API_ExportedFuncs) == 120, "exported record is 120 bytes");
static_assert(offsetof(API_ExportedFuncs, checkEnvironment) == 8, "CheckEnvironment at 8");
static_assert(offsetof(API_ExportedFuncs, registerInterface) == 16, "RegisterInterface at 16");
static_assert(offsetof(API_ExportedFuncs, initialize) == 24, "Initialize at 24");
static_assert(offsetof(API_ExportedFuncs, freeData) == 32, "FreeData at 32");
static_assert(offsetof(API_ExportedFuncs, apiVersion) == 40, "API version at 40");

constexpr GS::Int32 kExportSignature = 0x001C0001;
constexpr GS::Int32 kApiVersion = 28000;

// The host's environment record; only the add-on's name and description are ours to fill.
struct API_EnvirParams {
    GS::UniString addOnName;
    GS::UniString addOnDescription;
    GS::Int32 hostVersion = 28;
};

struct API_MenuParams {
    GS::Int16 menuResID;
    GS::Int32 itemIndex;
};

struct API_MenuItemRef {
    GS::Int16 menuResID;
    GS::Int32 itemIndex;
};
constexpr GSFlags API_MenuItemChecked = 2;
constexpr GSFlags API_MenuItemDisabled = 1;

// One selected element (or a neighbour of one).
struct API_Neig {
    GS::Int32 neigID;
    API_Guid guid;
    GS::Int32 inIndex;
};

struct API_SelectionInfo {
    GS::Int32 typeID;  // 0 none, 1 elements
    GS::Int32 sel_nElem;
    GS::Int32 sel_nElemEdit;
};

// Module data of an add-on (64 bytes).
struct API_ModulData {
    GS::Int32 dataVersion;
    char platformSign[2];
    char filler[2];
    GSHandle dataHdl;
    char reserved[48];
};
static_assert(sizeof(API_ModulData) == 64, "module data record is 64 bytes");
static_assert(offsetof(API_ModulData, dataHdl) == 8, "handle at 8");

// Project events.
enum API_NotifyEventID : GS::Int32 {
    APINotify_New = 1,
    APINotify_NewAndReset = 2,
    APINotify_Open = 4,
    APINotify_PreSave = 8,
    APINotify_Save = 16,
    APINotify_Close = 32,
    APINotify_Quit = 64
};

// Palette control messages.
enum API_PaletteMessageID : GS::Int32 {
    APIPalMsg_ClosePalette = 1,
    APIPalMsg_HidePalette_Begin = 2,
    APIPalMsg_HidePalette_End = 3,
    APIPalMsg_DisableItems_Begin = 4,
    APIPalMsg_DisableItems_End = 5,
    APIPalMsg_OpenPalette = 6,
    APIPalMsg_IsPaletteVisible = 7
};

using APIMenuCommandProc = GSErrCode (*)(const API_MenuParams* menuParams);
using APIProjectEventHandlerProc = GSErrCode (*)(API_NotifyEventID notifID, GS::Int32 param);
using APISelectionChangeHandlerProc = GSErrCode (*)(const API_Neig* selElemNeig);
using APIPaletteControlCallBackProc = GSErrCode (*)(GS::Int32 referenceID, API_PaletteMessageID messageID,
                                                    GS::Int64 param);

// Handle of the host's main window.
using API_WindowHandle = void*;
