#include <cstddef>

#include "HostApi/HostCalls.hpp"
#include "RS/RS.hpp"

extern const unsigned char calvoraResourceData[];
extern const std::size_t calvoraResourceData_size;

namespace {
// Opened once per loaded module, closed when the module goes away.
struct OwnResModule {
    GSResModule id;
    OwnResModule()
        : id(RSOpenModuleFromData(reinterpret_cast<const char*>(calvoraResourceData), calvoraResourceData_size))
    {
    }
    ~OwnResModule() { RSCloseModule(id); }
};
}  // namespace

GS::Int32 HostGetOwnResModule()
{
    static OwnResModule module;
    return module.id;
}

namespace {
// Opened when the module is loaded, so the host finds the add-on's resources from the start.
const GS::Int32 openedAtLoad = HostGetOwnResModule();
}  // namespace
