#pragma once
// The model's elements, attributes, properties, library parts, databases and stories as the host
// hands them to an add-on (the element-related slots of the function table).
#include <string>
#include <vector>

#include "API/ApiElements.hpp"
#include "GSRoot/Guid.hpp"

namespace Host {

// Fills the element-related slots of the host's function table.
void InstallElementOperations(void** table);
// The type id of a model element, 0 when the model holds no such element.
GS::Int32 ElementTypeOf(const GS::Guid& guid);

// What was handed out and given back since the last reset. "Released" counts the dispose calls.
struct ElementOpsCounters {
    GS::Int64 memosHandedOut = 0;
    GS::Int64 memosReleased = 0;
    GS::Int64 attributeDefsHandedOut = 0;
    GS::Int64 attributeDefsReleased = 0;
    GS::Int64 attributeDefExtsHandedOut = 0;
    GS::Int64 attributeDefExtsReleased = 0;
    GS::Int64 libPartParamsHandedOut = 0;
    GS::Int64 libPartParamsReleased = 0;
    GS::Int64 liveProfileImages = 0;  // images handed out and not yet disposed

    bool Balanced() const
    {
        return memosHandedOut == memosReleased && attributeDefsHandedOut == attributeDefsReleased &&
               attributeDefExtsHandedOut == attributeDefExtsReleased &&
               libPartParamsHandedOut == libPartParamsReleased && liveProfileImages == 0;
    }
};
const ElementOpsCounters& ElementCounters();
void ResetElementCounters();

// Every HostChangeDatabase call, in order: where it started, what it asked for, the result and
// where it ended.
struct DatabaseSwitch {
    HostDatabaseInfo from;
    HostDatabaseInfo requested;
    HostDatabaseInfo to;
    GSErrCode result;
};
const std::vector<DatabaseSwitch>& DatabaseSwitches();
void ClearDatabaseSwitches();

// The host's own change of the current database (the user opening a view); not logged.
bool SetCurrentDatabase(const GS::Guid& databaseGuid);
HostDatabaseInfo GetCurrentDatabaseInfo();

}  // namespace Host
