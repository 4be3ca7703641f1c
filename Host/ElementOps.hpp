#pragma once
// The model's elements, attributes, properties, library parts, databases and stories as the host
// hands them to an add-on (the element-related slots of the function table).
#include <string>
#include <vector>

#include "API/ApiElements.hpp"
#include "GSRoot/Guid.hpp"
#include "Host/Model.hpp"

namespace Host {

// The operations the host can be told to fail: each answer asks ShouldFail under its own entry, so
// `fail` knows every name that fails something and no other. `fail` names them by their wrappers
// ("HostGetElement" for GetElement).
enum class Operation {
    GetModuleData, StoreModuleData, GetAutoTexts, GetSelection, SelectElements, ZoomToElements,
    GetElement, GetElementHeader, GetElementMemo, GetElementQuantities, GetElementInfoString,
    GetElementPropertyDefinitions, GetElementProperty, GetElementProperties, IsValidPropertyValue,
    GetAttribute, GetAttributeDef, GetAttributeDefExt, GetPen,
    GetCurrentDatabase, ChangeDatabase, GetContainingDatabase, GetStorySettings, GetLibPartParams,
    Count
};

// What the element operations need of the host that answers through them. The stand-in host
// implements it, so these operations sit below the host and never reach back into it.
class ElementOpsHost {
public:
    virtual Json& Model() = 0;
    virtual bool ShouldFail(Operation op, const API_Guid* guid, GSErrCode* code) const = 0;
    virtual std::vector<std::string>& CallLog() = 0;

    // The host the table's plain functions answer for (the newest one alive); null for none.
    static void SetActive(ElementOpsHost* host);

protected:
    ~ElementOpsHost() = default;
};

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
