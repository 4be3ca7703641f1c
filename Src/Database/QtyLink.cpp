#include "Database/QtyLink.hpp"

#include <cstring>

#include "API/ApiElements.hpp"
#include "HostApi/HostElementCalls.hpp"
#include "Database/Qty.hpp"
#include "Database/SqlText.hpp"
#include "GSRoot/Guid.hpp"

namespace {
API_Guid GuidFromText(const GS::UniString& text)
{
    GS::Guid guid;
    guid.ConvertFromString(ToSqlText(text).c_str());
    return GSGuid2APIGuid(guid);
}
}  // namespace

bool Qty::linkNeedsParentGuid() const
{
    const GS::UniString guidText = getString("guid");
    if (guidText.IsEmpty())
        return false;
    API_Elem_Head header;
    std::memset(&header, 0, sizeof header);
    header.guid = GuidFromText(guidText);
    if (HostGetElementHeader(&header, 0) != NoError)
        return false;
    return header.typeID == API_SectElemID;
}

bool ReadParentGuid(const GS::UniString& guidText, GS::UniString* parentGuid)
{
    API_Element element;
    std::memset(&element, 0, sizeof element);
    element.header.guid = GuidFromText(guidText);
    if (HostGetElement(&element, 0) != NoError)
        return false;
    *parentGuid = APIGuid2GSGuid(element.sectElem.parentGuid).ToUniString();
    return true;
}
