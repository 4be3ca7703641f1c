#pragma once
// A stand-in host holding the fixture model, with its table handed to the add-on's host calls.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "HostApi/HostElementCalls.hpp"
#include "GSRoot/Memory.hpp"
#include "Host/ElementOps.hpp"
#include "Host/Model.hpp"
#include "Host/StandInHost.hpp"

#define E(n) "E0000000-0000-4000-8000-0000000000" #n
namespace Fx {
// Elements of the fixture model.
constexpr const char *BasicWall = E(01), *CompositeWall = E(02), *ProfiledWall = E(03), *BasicColumn = E(11);
constexpr const char *ProfiledColumn = E(12), *PlainBeam = E(21), *SlantedBeam = E(22), *Window = E(31);
constexpr const char *Door = E(32), *Object = E(41), *CompositeSlab = E(51), *BasicSlab = E(52), *Roof = E(61);
constexpr const char *Zone = E(71), *Fill = E(81), *Line = E(91), *ArcPolyline = E(A1), *OvercountedPolyline = E(A2);
constexpr const char *SectionElement = E(B1), *CurtainWall = E(C1), *Morph = E(D1), *Stair = E(E1);
constexpr const char *Railing = E(F1), *Missing = E(FF);
// Databases and property definitions.
#define D(n) "DB000000-0000-4000-8000-0000000000" #n
#define P(n) "DF000000-0000-4000-8000-0000000000" #n
constexpr const char *FloorPlanDb = D(01), *SectionA = D(0A), *SectionB = D(0B);
constexpr const char *FireRating = P(01), *LoadReal = P(02), *Count = P(03), *LoadInteger = P(04), *SlabOnly = P(05);
#undef D
#undef P

inline API_Guid G(const char* text) { return GSGuid2APIGuid(GS::Guid(text)); }

inline Host::Json LoadJson(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    return Host::Json::parse(in);
}
}  // namespace Fx
#undef E

// The values joined by spaces, to compare several fields of a record at once.
template <typename... T>
std::string Str(const T&... values)
{
    std::ostringstream out;
    ((out << values << ' '), ...);
    std::string text = out.str();
    return text.empty() ? text : text.substr(0, text.size() - 1);
}

// Asks the host to make a database current, by its type and guid.
inline GSErrCode ChangeDatabase(GS::Int32 typeID, const char* guid = nullptr, HostDatabaseInfo* result = nullptr)
{
    HostDatabaseInfo info{};
    info.typeID = typeID;
    info.databaseUnId = guid != nullptr ? Fx::G(guid) : API_Guid{};
    const GSErrCode code = HostChangeDatabase(&info);
    if (result != nullptr)
        *result = info;
    return code;
}

template <typename T>
std::size_t HandleSize(T** handle)
{
    return static_cast<std::size_t>(BMGetHandleSize(reinterpret_cast<GSConstHandle>(handle)));
}

class HostModelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host.SetProject(Fx::LoadJson(HOSTMODEL_FIXTURE));
        CalvoraSetHostTable(host.Table());
        Host::ResetElementCounters();
        Host::ClearDatabaseSwitches();
        handlesBefore = GS::LiveHandleCount();
        ptrsBefore = GS::LivePtrCount();
    }
    void TearDown() override
    {
        ExpectNothingLive();
        CalvoraClearHostTable();
    }

    // Everything handed out was given back.
    void ExpectNothingLive() const
    {
        EXPECT_EQ(GS::LiveHandleCount(), handlesBefore);
        EXPECT_EQ(GS::LivePtrCount(), ptrsBefore);
        EXPECT_TRUE(Host::ElementCounters().Balanced());
    }

    static API_Element Read(const char* guid, GSErrCode* code = nullptr)
    {
        API_Element element{};
        element.header.guid = Fx::G(guid);
        const GSErrCode err = HostGetElement(&element);
        if (code != nullptr)
            *code = err;
        return element;
    }

    static GSErrCode Quantities(const char* guid, const HostQuantitiesMask* mask, HostElementQuantity* q,
                                GS::Array<API_CompositeQuantity>* skins = nullptr)
    {
        API_QuantityPar par{};
        API_Quantities out{q, skins};
        return HostGetElementQuantities(Fx::G(guid), &par, &out, mask);
    }

    Host::StandInHost host;
    GS::Int64 handlesBefore = 0;
    GS::Int64 ptrsBefore = 0;
};
