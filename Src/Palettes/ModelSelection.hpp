#pragma once
// The elements the user has selected in the host's model, for the panel actions that create
// quantities for them, and the guids quantities link to.
#include "API/ApiElements.hpp"
#include "GSRoot/Array.hpp"
#include "GSRoot/UniString.hpp"

// Whole element records, in selection order.
using VumoElementsList = GS::Array<API_Element>;

// Appends the selected editable elements; an element the host cannot read is left out.
void GetSelectedElements(VumoElementsList& elements);
// True when every element, read again from the host, has the first one's type (or there are
// fewer than two); a failed read gives false.
bool AllSameElementType(const VumoElementsList& elements);

// The guid text a quantity links to for the element with this guid: a section element stands for
// the element it was cut from. False when the host cannot read the element; the text is then the
// guid's own.
bool LinkGuidText(const API_Guid& guid, GS::UniString* text);
