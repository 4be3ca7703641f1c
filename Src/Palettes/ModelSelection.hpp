#pragma once
// The elements the user has selected in the host's model, for the panel actions that create
// quantities for them.
#include "API/ApiElements.hpp"
#include "GSRoot/Array.hpp"

// Whole element records, in selection order.
using VumoElementsList = GS::Array<API_Element>;

// Appends the selected editable elements; an element the host cannot read is left out.
void GetSelectedElements(VumoElementsList& elements);
// True when every element, read again from the host, has the first one's type (or there are
// fewer than two); a failed read gives false.
bool AllSameElementType(const VumoElementsList& elements);
