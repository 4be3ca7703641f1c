#pragma once
// The model's elements as the host hands them to an add-on.
#include "GSRoot/Guid.hpp"

namespace Host {
// Fills the element-related slots of the host's function table.
void InstallElementOperations(void** table);
// The type id of a model element, 0 when the model holds no such element.
GS::Int32 ElementTypeOf(const GS::Guid& guid);
}  // namespace Host
