// The add-on's only exported symbols: how the host finds it.
#include <cstring>

#include "API/ApiTable.hpp"
#include "Calvora/AddOnMain.hpp"
#include "HostApi/HostCalls.hpp"
#include "GSRoot/ClassInfo.hpp"

namespace {
// Registered with the host's class registry for as long as the module is loaded.
GS::ClassInfo vumoSettingsClassInfo("VumoSettings", GS::Guid("B45089A1-B373-460B-B143-80E6EBF107C1"), 1, 0);
}  // namespace

extern "C" __attribute__((visibility("default"))) GS::Int32 GetExportedFuncAddrs(API_ExportedFuncs* funcs)
{
    if (funcs == nullptr)
        return 0;
    std::memset(funcs, 0, sizeof *funcs);
    funcs->signature = kExportSignature;
    funcs->checkEnvironment = CheckEnvironment;
    funcs->registerInterface = RegisterInterface;
    funcs->initialize = Initialize;
    funcs->freeData = FreeData;
    funcs->apiVersion = kApiVersion;
    return 0;
}

extern "C" __attribute__((visibility("default"))) GS::Int32 SetImportedFuncAddrs(const void* table)
{
    CalvoraSetHostTable(table);
    return 0;
}
