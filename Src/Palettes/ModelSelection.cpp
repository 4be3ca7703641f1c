#include "Palettes/ModelSelection.hpp"

#include "GSRoot/Guid.hpp"
#include "HostApi/HostElementCalls.hpp"

void GetSelectedElements(VumoElementsList& elements)
{
    API_SelectionInfo info{};
    GS::Array<API_Neig> neigs;
    const GSErrCode err = HostGetSelection(&info, &neigs, true);
    if (err == APIERR_NOSEL || err != NoError || info.typeID == 0)
        return;
    for (GS::UIndex i = 0; i < neigs.GetSize(); ++i) {
        API_Element element;
        if (HostReadElement(neigs[i].guid, &element))
            elements.Push(element);
    }
}

bool AllSameElementType(const VumoElementsList& elements)
{
    if (elements.GetSize() < 2)
        return true;
    API_Element element;
    if (!HostReadElement(elements[0].header.guid, &element))
        return false;
    const GS::Int32 typeID = element.header.typeID;
    for (GS::UIndex i = 1; i < elements.GetSize(); ++i) {
        if (!HostReadElement(elements[i].header.guid, &element) || element.header.typeID != typeID)
            return false;
    }
    return true;
}

bool LinkGuidText(const API_Guid& guid, GS::UniString* text)
{
    API_Element element;
    const bool read = HostReadElement(guid, &element);
    *text = APIGuid2GSGuid(read && element.header.typeID == API_SectElemID ? element.sectElem.parentGuid : guid)
                .ToUniString();
    return read;
}
