#include "VumoFuncs/VumoFuncs.hpp"

#include "HostApi/HostCalls.hpp"
#include "RS/RS.hpp"

GS::UniString GetResString(GS::Int16 listId, GS::Int16 index)
{
    GS::UniString result;
    if (!RSGetIndString_ParamAdapter(&result, listId, index, HostGetOwnResModule(), 0, __FILE__, __LINE__))
        result.Clear();
    return result;
}
