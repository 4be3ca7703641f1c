#include "Host/ElementOps.hpp"

#include "Host/StandInHost.hpp"

namespace Host {

void InstallElementOperations(void**) {}

GS::Int32 ElementTypeOf(const GS::Guid& guid)
{
    StandInHost* host = StandInHost::Active();
    if (host == nullptr)
        return 0;
    const auto& model = host->Model();
    if (!model.contains("elements"))
        return 0;
    for (const auto& element : model["elements"]) {
        if (GS::Guid(element.value("guid", "").c_str()) == guid)
            return element.value("typeID", 0);
    }
    return 0;
}

}  // namespace Host
