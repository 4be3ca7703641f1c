#pragma once
// Dialog handlers run inside the host's event loop: no exception may leave them.
#include <exception>

#include "GSRoot/Debug.hpp"

template <typename F>
void DialogGuard(const char* where, F&& body)
{
    try {
        body();
    } catch (const std::exception& e) {
        DBPrintf("Unhandled exception in %s: %s\n", where, e.what());
    } catch (...) {
        DBPrintf("Unhandled exception in %s\n", where);
    }
}
