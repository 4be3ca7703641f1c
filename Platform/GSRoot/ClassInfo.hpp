#pragma once
#include <string>

#include "GSRoot/Guid.hpp"

namespace GS {

// A class description registered with the host's class registry for as long as it lives.
class ClassInfo {
public:
    ClassInfo(const char* name, const Guid& guid, UInt16 versionMajor, UInt16 versionMinor);
    ~ClassInfo();
    ClassInfo(const ClassInfo&) = delete;
    ClassInfo& operator=(const ClassInfo&) = delete;

    const std::string& GetName() const { return name; }
    const Guid& GetId() const { return guid; }
    UInt16 GetMainVersion() const { return major; }
    UInt16 GetMinorVersion() const { return minor; }

    static const ClassInfo* Find(const std::string& name);

private:
    std::string name;
    Guid guid;
    UInt16 major;
    UInt16 minor;
};

}  // namespace GS
