#include "GSRoot/ClassInfo.hpp"

#include <map>

namespace GS {

namespace {
std::map<std::string, const ClassInfo*>& Registry()
{
    static std::map<std::string, const ClassInfo*> registry;
    return registry;
}
}  // namespace

ClassInfo::ClassInfo(const char* n, const Guid& g, UInt16 ma, UInt16 mi) : name(n), guid(g), major(ma), minor(mi)
{
    Registry()[name] = this;
}

ClassInfo::~ClassInfo()
{
    auto it = Registry().find(name);
    if (it != Registry().end() && it->second == this)
        Registry().erase(it);
}

const ClassInfo* ClassInfo::Find(const std::string& name)
{
    auto it = Registry().find(name);
    return it == Registry().end() ? nullptr : it->second;
}

}  // namespace GS
