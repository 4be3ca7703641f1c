#pragma once
#include <clocale>
#include <cmath>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Calvora/HostCalls.hpp"
#include "Calvora/HostElementCalls.hpp"
#include "Database/Qty.hpp"
#include "ElementFuncs/ElementFormulaContext.hpp"
#include "ElementFuncs/ElementFuncsFactory.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"
#include "GSRoot/Guid.hpp"
#include "Host/ElementOps.hpp"
#include "Host/StandInHost.hpp"

// Guids of the fixture model (fixture-model.json).
namespace Fx {
constexpr const char* WallBasic = "E1000000-0000-4000-8000-000000000001";
constexpr const char* WallComposite = "E1000000-0000-4000-8000-000000000002";
constexpr const char* WallProfiled = "E1000000-0000-4000-8000-000000000003";
constexpr const char* WallNoCore = "E1000000-0000-4000-8000-000000000004";
constexpr const char* WallNoSkins = "E1000000-0000-4000-8000-000000000005";
constexpr const char* Beam = "E1000000-0000-4000-8000-000000000010";
constexpr const char* BeamSlanted = "E1000000-0000-4000-8000-000000000011";
constexpr const char* BeamUpright = "E1000000-0000-4000-8000-000000000012";
constexpr const char* BeamProfiled = "E1000000-0000-4000-8000-000000000013";
constexpr const char* BeamProfileZero = "E1000000-0000-4000-8000-000000000014";
constexpr const char* BeamFlatCore = "E1000000-0000-4000-8000-000000000015";
constexpr const char* Column = "E1000000-0000-4000-8000-000000000020";
constexpr const char* ColumnProfiled = "E1000000-0000-4000-8000-000000000021";
constexpr const char* ColumnProfileZero = "E1000000-0000-4000-8000-000000000022";
constexpr const char* Window = "E1000000-0000-4000-8000-000000000030";
constexpr const char* Door = "E1000000-0000-4000-8000-000000000031";
constexpr const char* Object = "E1000000-0000-4000-8000-000000000032";
constexpr const char* ObjectNoMemo = "E1000000-0000-4000-8000-000000000033";
constexpr const char* Slab = "E1000000-0000-4000-8000-000000000040";
constexpr const char* SlabBasic = "E1000000-0000-4000-8000-000000000041";
constexpr const char* Roof = "E1000000-0000-4000-8000-000000000042";
constexpr const char* RoofComposite = "E1000000-0000-4000-8000-000000000043";
constexpr const char* Zone = "E1000000-0000-4000-8000-000000000050";
constexpr const char* Fill = "E1000000-0000-4000-8000-000000000051";
constexpr const char* Line = "E1000000-0000-4000-8000-000000000052";
constexpr const char* PolyLine = "E1000000-0000-4000-8000-000000000053";
constexpr const char* PolyLineArc = "E1000000-0000-4000-8000-000000000054";
constexpr const char* PolyLineOnePoint = "E1000000-0000-4000-8000-000000000055";
constexpr const char* PolyLineBadCounts = "E1000000-0000-4000-8000-000000000056";
constexpr const char* CurtainWall = "E1000000-0000-4000-8000-000000000057";
constexpr const char* Morph = "E1000000-0000-4000-8000-000000000058";
constexpr const char* Stair = "E1000000-0000-4000-8000-000000000059";
constexpr const char* Railing = "E1000000-0000-4000-8000-000000000060";
constexpr const char* Section = "E1000000-0000-4000-8000-000000000070";
constexpr const char* SectionOrphan = "E1000000-0000-4000-8000-000000000071";
constexpr const char* Missing = "E1000000-0000-4000-8000-0000000000EE";

constexpr const char* FloorPlanDb = "DB000000-0000-4000-8000-000000000001";
constexpr const char* SectionDb = "DB000000-0000-4000-8000-000000000002";
}  // namespace Fx

// Marks a variable that must not be defined.
constexpr double Undefined = std::numeric_limits<double>::quiet_NaN();

inline std::string Join(const GS::Array<GS::UniString>& names)
{
    std::string text;
    for (const GS::UniString& name : names) {
        if (!text.empty())
            text += ",";
        text += name.ToUtf8();
    }
    return text;
}

inline API_Guid ApiGuid(const char* text)
{
    return GSGuid2APIGuid(GS::Guid(text));
}

// Every case gets its own host on the fixture model, counters and database log cleared; at the end
// every memo and attribute definition handed out must have come back.
class ElementFuncsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host = std::make_unique<Host::StandInHost>();
        host->SetProject(LoadJson(CALVORA_ELEMENTFUNCS_FIXTURE));
        CalvoraSetHostTable(host->Table());
        Host::ResetElementCounters();
        Host::ClearDatabaseSwitches();
        const char* current = std::setlocale(LC_ALL, nullptr);
        localeAtStart = current != nullptr ? current : "C";
    }

    void TearDown() override
    {
        const Host::ElementOpsCounters& c = Host::ElementCounters();
        EXPECT_TRUE(c.Balanced()) << "memos " << c.memosHandedOut << "/" << c.memosReleased << ", defs "
                                  << c.attributeDefsHandedOut << "/" << c.attributeDefsReleased << ", def exts "
                                  << c.attributeDefExtsHandedOut << "/" << c.attributeDefExtsReleased
                                  << ", images " << c.liveProfileImages;
        EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), localeAtStart);
        host.reset();
    }

    static Host::Json LoadJson(const std::string& path)
    {
        std::ifstream in(path);
        EXPECT_TRUE(in.good()) << path;
        return Host::Json::parse(in);
    }

    static API_Element Read(const char* guid)
    {
        API_Element element;
        std::memset(&element, 0, sizeof element);
        element.header.guid = ApiGuid(guid);
        EXPECT_EQ(HostGetElement(&element, 0), NoError) << guid;
        return element;
    }

    struct Outcome {
        bool ok = false;
        double value = 0.0;
        std::string error;
    };

    // Evaluates a formula as a quantity linked to the element (guid may be empty).
    static Outcome Evaluate(const char* guid, const char* formula, bool switchLocale = false)
    {
        Qty qty;
        qty.setString("guid", guid);
        qty.setString("formula", formula);
        Outcome outcome;
        outcome.value = -12345.0;
        outcome.ok = qty.evaluateFormula(&outcome.value, switchLocale);
        outcome.error = qty.errorText;
        return outcome;
    }

    // The variables the element's type stores.
    static double Variable(const char* guid, const char* name)
    {
        API_Element element = Read(guid);
        ElementFormulaContext context;
        context.SetElement(&element);
        GetElementFuncsFactory().SetVariables(element, context);
        const double* value = context.variables.GetPtr(GS::UniString(name));
        return value != nullptr ? *value : Undefined;
    }

    static double Call(const char* guid, const char* name, std::vector<Math_Parameter> args)
    {
        GS::Array<Math_Parameter> list;
        for (const Math_Parameter& p : args)
            list.Push(p);
        return GetElementFuncsFactory().EvaluateFunction(Read(guid), GS::UniString(name), list);
    }

    static Math_Parameter Number(double value) { return Math_Parameter{Math_NumberParameter, nullptr, value}; }
    static Math_Parameter Text(const char* text)
    {
        return Math_Parameter{Math_TextParameter, const_cast<char*>(text), 0.0};
    }

    std::unique_ptr<Host::StandInHost> host;
    std::string localeAtStart;
};
