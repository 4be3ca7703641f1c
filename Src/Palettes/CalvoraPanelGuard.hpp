#pragma once
// No exception may reach the host from the panel's events: whatever their work throws is written
// to the debug output.
#include <exception>

#include "GSRoot/Debug.hpp"

template <typename Work>
void CalvoraPanelGuarded(const char* where, Work&& work)
{
    try {
        work();
    } catch (const std::exception& e) {
        DBPrintf("CalvoraPanel::%s: %s\n", where, e.what());
    } catch (...) {
        DBPrintf("CalvoraPanel::%s: unknown exception\n", where);
    }
}
