#include "Palettes/ModelSelection.hpp"

#include <cstring>

#include "HostApi/HostElementCalls.hpp"

namespace {
bool ReadElement(const API_Guid& guid, API_Element* element)
{
    std::memset(element, 0, sizeof *element);
    element->header.guid = guid;
    return HostGetElement(element, 0) == NoError;
}
}  // namespace

void GetSelectedElements(VumoElementsList& elements)
{
    API_SelectionInfo info{};
    GS::Array<API_Neig> neigs;
    const GSErrCode err = HostGetSelection(&info, &neigs, true);
    if (err == APIERR_NOSEL || err != NoError || info.typeID == 0)
        return;
    for (GS::UIndex i = 0; i < neigs.GetSize(); ++i) {
        API_Element element;
        if (ReadElement(neigs[i].guid, &element))
            elements.Push(element);
    }
}

bool AllSameElementType(const VumoElementsList& elements)
{
    if (elements.GetSize() < 2)
        return true;
    API_Element element;
    if (!ReadElement(elements[0].header.guid, &element))
        return false;
    const GS::Int32 typeID = element.header.typeID;
    for (GS::UIndex i = 1; i < elements.GetSize(); ++i) {
        if (!ReadElement(elements[i].header.guid, &element) || element.header.typeID != typeID)
            return false;
    }
    return true;
}
