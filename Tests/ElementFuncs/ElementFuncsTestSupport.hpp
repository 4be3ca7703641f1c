#pragma once
#include <clocale>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "HostApi/HostCalls.hpp"
#include "HostApi/HostElementCalls.hpp"
#include "Database/Qty.hpp"
#include "ElementFuncs/ElementFormulaContext.hpp"
#include "ElementFuncs/ElementFuncsFactory.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"
#include "GSRoot/Guid.hpp"
#include "Host/ElementOps.hpp"
#include "Host/StandInHost.hpp"

// Guids of the fixture model (fixture-model.json).
#define E(n) "E1000000-0000-4000-8000-0000000000" #n
namespace Fx {
constexpr const char *WallBasic = E(01), *WallComposite = E(02), *WallProfiled = E(03), *WallNoCore = E(04);
constexpr const char *WallNoSkins = E(05), *Beam = E(10), *BeamSlanted = E(11), *BeamUpright = E(12);
constexpr const char *BeamProfiled = E(13), *BeamProfileZero = E(14), *BeamFlatCore = E(15), *Column = E(20);
constexpr const char *ColumnProfiled = E(21), *ColumnProfileZero = E(22), *Window = E(30), *Door = E(31);
constexpr const char *Object = E(32), *ObjectNoMemo = E(33), *Slab = E(40), *SlabBasic = E(41), *Roof = E(42);
constexpr const char *RoofComposite = E(43), *Zone = E(50), *Fill = E(51), *Line = E(52), *PolyLine = E(53);
constexpr const char *PolyLineArc = E(54), *PolyLineOnePoint = E(55), *PolyLineBadCounts = E(56);
constexpr const char *CurtainWall = E(57), *Morph = E(58), *Stair = E(59), *Railing = E(60), *Section = E(70);
constexpr const char *SectionOrphan = E(71), *Missing = E(EE);
constexpr const char* FloorPlanDb = "DB000000-0000-4000-8000-000000000001";
constexpr const char* SectionDb = "DB000000-0000-4000-8000-000000000002";
}  // namespace Fx
#undef E

inline std::string Join(const GS::Array<GS::UniString>& names)
{
    std::string text;
    for (const GS::UniString& name : names)
        text += (text.empty() ? "" : ",") + name.ToUtf8();
    return text;
}

inline std::string CurrentLocale() { return std::setlocale(LC_ALL, nullptr); }

inline API_Element Read(const char* guid)
{
    API_Element element;
    std::memset(&element, 0, sizeof element);
    element.header.guid = GSGuid2APIGuid(GS::Guid(guid));
    EXPECT_EQ(HostGetElement(&element, 0), NoError) << guid;
    return element;
}

// A quantity linked to the element (guid may be empty) with its formula, or its description.
inline Qty MakeQty(const char* guid, const char* formula, double stored = 0.0, const char* descript = "")
{
    Qty qty;
    qty.setString("guid", guid);
    qty.setString("formula", formula);
    qty.setString("descript", descript);
    qty.setDouble("value", stored);
    return qty;
}

// value stays when the evaluation fails.
struct Outcome { bool ok = false; double value = -12345.0; std::string error; };

// An evaluation sets the quantity's message or empties it; only an empty formula leaves it alone.
inline Outcome Evaluate(const char* guid, const char* formula, bool switchLocale = false)
{
    Qty qty = MakeQty(guid, formula);
    qty.setErrorText("earlier message");
    Outcome outcome;
    outcome.ok = EvaluateQtyFormula(qty, &outcome.value, switchLocale);
    outcome.error = qty.errorText;
    return outcome;
}

// Every case gets its own host on the fixture model, counters and database log cleared; at the end
// every memo and attribute definition handed out must have come back and the locale be the old one.
class ElementFuncsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<Host::StandInHost>();
        host->SetProject(LoadJson(CALVORA_ELEMENTFUNCS_FIXTURE));
        CalvoraSetHostTable(host->Table());
        Host::ResetElementCounters();
        Host::ClearDatabaseSwitches();
        localeAtStart = CurrentLocale();
    }

    void TearDown() override
    {
        const Host::ElementOpsCounters& c = Host::ElementCounters();
        EXPECT_TRUE(c.Balanced()) << "memos " << c.memosHandedOut << "/" << c.memosReleased << ", defs "
                                  << c.attributeDefsHandedOut << "/" << c.attributeDefsReleased << ", exts "
                                  << c.attributeDefExtsHandedOut << "/" << c.attributeDefExtsReleased;
        EXPECT_EQ(CurrentLocale(), localeAtStart);
    }

    static Host::Json LoadJson(const std::string& path)
    {
        std::ifstream in(path);
        EXPECT_TRUE(in.good()) << path;
        return Host::Json::parse(in);
    }

    std::unique_ptr<Host::StandInHost> host;
    std::string localeAtStart;
};
