#pragma once
// No exception may reach the host: what escapes an entry point, handler or command goes to the
// debug output, and a command the user chose also tells the user.
#include <exception>

#include "DG/DGUtility.hpp"
#include "GSRoot/Debug.hpp"

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

template <typename F>
void GuardedCommand(const char* name, F&& body)
{
    const char* reason = nullptr;
    try {
        body();
        return;
    } catch (const std::exception& e) {
        DBPrintf("Unhandled exception in %s: %s\n", name, e.what());
        try {
            DGAlert(DG::DG_ERROR, "Error", "The command could not be completed.", e.what());
        } catch (...) {
            DBPrintf("The error alert of %s could not be shown\n", name);
        }
        return;
    } catch (...) {
        reason = "unknown error";
    }
    DBPrintf("Unhandled exception in %s\n", name);
    try {
        DGAlert(DG::DG_ERROR, "Error", "The command could not be completed.", reason);
    } catch (...) {
        DBPrintf("The error alert of %s could not be shown\n", name);
    }
}
