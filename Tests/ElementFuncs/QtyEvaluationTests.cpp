// A quantity evaluated against its linked element through the real evaluator: results and
// messages, link status, locale and database switches, the displayed description.
#include "ElementFuncsTestSupport.hpp"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <sstream>

#include "GSRoot/Memory.hpp"
#include "Host/Model.hpp"

namespace {

// Makes the locale the user's default for one test and puts the environment back after.
struct UserLocale {
    explicit UserLocale(const char* name) : old(std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "")
    {
        setenv("LC_ALL", name, 1);
    }
    ~UserLocale() { old.empty() ? unsetenv("LC_ALL") : setenv("LC_ALL", old.c_str(), 1); }
    std::string old;
};

// A database switch as logged by the stand-in: where it landed, "!" when it failed.
std::string SwitchLog()
{
    std::string text;
    for (const Host::DatabaseSwitch& s : Host::DatabaseSwitches())
        text += (text.empty() ? "" : ", ") + std::string(s.to.name) + (s.result == NoError ? "" : "!");
    return text;
}

// Results and messages of quantities linked or not, in the user's locale when asked; a section element,
// and any element while the user works in a section, is evaluated in the model, and the database is
// switched back.
TEST_F(ElementFuncsTest, FormulasEvaluateAgainstTheLinkedElementInTheLocaleAndDatabaseAsked)
{
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 must be generated (locale-gen)";
    std::setlocale(LC_ALL, "C");
    UserLocale german("de_DE.UTF-8");
    // where: "user locale" to evaluate in it; "section" when the user works in a section rather than
    // the floor plan; "switch fails" when every change of database fails. log: the switches made.
    const struct { const char *guid, *formula; bool ok; double value; const char *error, *where = "", *log = nullptr; }
        cases[] = {
        {"", "2*3", true, 6.0, ""}, {"", "Area", false, 0.0, "Variable was not defined: Area."},
        {"", "Property('x')", false, 0.0, "Undeclared identifier: Property."},
        {Fx::WallBasic, "Volume*1.05-Area*0.02", true, 9.9, "", "", ""}, {Fx::WallBasic, "Foo(1)+1", true, 1.0, ""},
        {Fx::WallBasic, "volume", false, 0.0, "Variable was not defined: volume."},
        {Fx::WallBasic, "Property('Fire rating')*Length", true, 15.0, ""},
        // Every argument reaches the element type in its order: Property reads the first only,
        // Parameter refuses two.
        {Fx::WallBasic, "Property(7,'Load')", true, 0.0, ""}, {Fx::Object, "Parameter('Len','x')", true, 0.0, ""},
        {Fx::Object, "Parameter('Rate')+Parameter('Len')*2", true, 9.5, ""},
        {Fx::WallComposite, "SkinVolume(2)+SkinArea('brick')", true, 68.0, ""},
        {Fx::Door, "Property('Load')+1", true, 1.0, ""},  // a type without functions still has them called
        // A deleted element: no variables, numbers still evaluate.
        {Fx::Missing, "Volume*2", false, 0.0, "Variable was not defined: Volume."}, {Fx::Missing, "2+3", true, 5.0, ""},
        {Fx::Missing, "Property('Load')", false, 0.0, "Undeclared identifier: Property."},
        // A section element stands for its parent, the composite wall, read in the model.
        {Fx::Section, "Volume+SkinVolume(2)", true, 18.0, "", "", "3D Model, Floor Plan"},
        {Fx::SectionOrphan, "Volume", false, 0.0, "Variable was not defined: Volume.", "", "3D Model, Floor Plan"},
        {Fx::Section, "Volume", false, 0.0, "Variable was not defined: Volume.", "switch fails", "Floor Plan!"},
        {Fx::WallBasic, "Volume+Thickness", true, 10.3, "", "section", "3D Model, Section A-A"},
        {Fx::WallBasic, "Thickness", true, 0.3, "", "section, switch fails", "Section A-A!"},  // record variables only
        {Fx::WallBasic, "Volume", false, 0.0, "Variable was not defined: Volume.", "section, switch fails",
         "Section A-A!"},
        // An empty formula is zero without an evaluation, so it leaves the earlier message.
        {"", "", true, 0.0, "earlier message", "user locale"},
        {Fx::WallBasic, "", true, 0.0, "earlier message", "user locale"},
        {Fx::Missing, "", true, 0.0, "earlier message", "user locale"},
        // In the user's comma-decimal locale when asked; the process locale's point otherwise.
        {"", "1,5*2", true, 3.0, "", "user locale"}, {"", "ROUND(7,3;0,5)", true, 7.5, "", "user locale"},
        {Fx::WallComposite, "SkinVolume(2,7)+Property('Fire rating')", true, 6.5, "", "user locale"},
        {Fx::Section, "Volume*0,5", true, 6.0, "", "user locale"},
        {"", "1,5*", false, 0.0, "Value to the right of operator is missing or invalid.", "user locale"},
        {Fx::WallBasic, "Height*1,5", false, 0.0, "Variable was not defined: Height.", "user locale"},
        // The point is no decimal separator there.
        {"", "1.5*2", false, 0.0, "Token is invalid: .", "user locale"}, {"", "1.5*2", true, 3.0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.guid) + ": " + c.formula + " " + c.where);
        const bool inSection = std::strstr(c.where, "section") != nullptr;
        ASSERT_TRUE(Host::SetCurrentDatabase(GS::Guid(inSection ? Fx::SectionDb : Fx::FloorPlanDb)));
        Host::ClearDatabaseSwitches();
        host->ClearFailures();
        if (std::strstr(c.where, "switch fails") != nullptr)
            host->FailOperation("HostChangeDatabase");
        const Outcome outcome = Evaluate(c.guid, c.formula, std::strstr(c.where, "user locale") != nullptr);
        EXPECT_EQ(outcome.ok, c.ok);
        EXPECT_EQ(outcome.error, c.error);
        EXPECT_NEAR(outcome.value, c.ok ? c.value : -12345.0, 1e-9);
        EXPECT_EQ(CurrentLocale(), "C");  // restored on success and on error alike
        EXPECT_EQ(Host::GetCurrentDatabaseInfo().typeID, inSection ? APIWind_SectionID : APIWind_FloorPlanID);
        EXPECT_TRUE(c.log == nullptr || SwitchLog() == c.log) << SwitchLog();
    }
    // The link status evaluates in the user's locale.
    Qty halfVolume = MakeQty(Fx::WallBasic, "Volume*0,5", 5.0);
    EXPECT_EQ(ComputeQtyLinkStatus(halfVolume), LinkUpToDate);

    // The formula's value, 0.0 when the evaluation fails.
    Qty qty = MakeQty(Fx::WallBasic, "Volume/4");
    EXPECT_EQ(QtyFormulaValue(qty, false), 2.5);
    qty.setString("formula", "Volume*");
    EXPECT_EQ(QtyFormulaValue(qty, false), 0.0);

    // The context keeps the first value a name was given.
    ElementFormulaContext context;
    context.SetVariable("A", 1.0);
    context.SetVariable("A", 2.0);
    double value = 0.0;
    ASSERT_EQ(Math_Evaluate(&context, "A*10", &value), Math_NoError);
    EXPECT_EQ(value, 10.0);
}

TEST_F(ElementFuncsTest, LinkStatusInAllFourStates)
{
    const struct { const char* guid; const char* formula; double stored; QtyLinkStatus expected; } cases[] = {
        {"", "1+1", 5.0, LinkNotLinked}, {Fx::Missing, "Volume", 10.0, LinkElementMissing},
        // The wall's Volume is 10; the limit lies strictly below 0.000001.
        {Fx::WallBasic, "Volume", 10.0, LinkUpToDate}, {Fx::WallBasic, "Volume", 10.0000005, LinkUpToDate},
        {Fx::WallBasic, "Volume", 9.9999995, LinkUpToDate}, {Fx::WallBasic, "Volume", 10.0000011, LinkOutdated},
        {Fx::WallBasic, "Volume", 9.9999989, LinkOutdated},
        // A failing formula counts as 0.0.
        {Fx::WallBasic, "Volume*", 0.0, LinkUpToDate}, {Fx::WallBasic, "Volume*", 10.0, LinkOutdated},
        {Fx::Section, "Volume", 12.0, LinkUpToDate}, {Fx::SectionOrphan, "Volume", 12.0, LinkOutdated},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.guid) + ": " + c.formula + " stored " + std::to_string(c.stored));
        Qty qty = MakeQty(c.guid, c.formula, c.stored);
        EXPECT_EQ(ComputeQtyLinkStatus(qty), c.expected);
        EXPECT_EQ(qty.getLinkStatus(), LinkNotComputed);  // computing alone stores nothing
        UpdateQtyLinkStatus(qty);
        EXPECT_EQ(qty.getLinkStatus(), c.expected);
    }
    Qty qty = MakeQty(Fx::WallBasic, "Height");
    UpdateQtyLinkStatus(qty);
    EXPECT_STREQ(qty.errorText, "Variable was not defined: Height.");
}

TEST_F(ElementFuncsTest, DescriptionPlaceholders)
{
    const struct { const char *guid, *descript, *failOp /* "" for none */, *expected; } cases[] = {
        {Fx::WallBasic, "Wall #ID on #LOC", "", "Wall W-001 on First Floor"},
        {Fx::Slab, "#ID/#ID at #LOC, #LOC", "", "S-001/S-001 at Ground Floor, Ground Floor"},
        {Fx::Section, "#ID in #LOC", "", "SE-001 in Section A-A"},
        // An empty ID text; no story of that index.
        {Fx::WallNoSkins, "[#ID]", "", "[]"}, {Fx::WallNoCore, "#ID on #LOC", "", "W-004 on #LOC"},
        {"", "Wall #ID on #LOC", "", "Wall #ID on #LOC"}, {Fx::Missing, "#ID on #LOC", "", "#ID on #LOC"},
        {Fx::WallBasic, "Wall #ID on #LOC", "HostGetElementInfoString", "Wall #ID on First Floor"},
        {Fx::WallBasic, "Wall #ID on #LOC", "HostGetContainingDatabase", "Wall W-001 on #LOC"},
        {Fx::WallBasic, "Wall #ID on #LOC", "HostGetStorySettings", "Wall W-001 on #LOC"},
        {Fx::WallBasic, "Wall #LOC", "HostGetElementHeader", "Wall #LOC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.descript) + " " + c.failOp);
        host->ClearFailures();
        if (*c.failOp != '\0')
            host->FailOperation(c.failOp);
        const GS::Int64 handlesBefore = GS::LiveHandleCount();
        const Qty qty = MakeQty(c.guid, "", 0.0, c.descript);
        EXPECT_EQ(QtyDisplayDescription(qty).ToUtf8(), c.expected);
        EXPECT_EQ(GS::LiveHandleCount(), handlesBefore);  // the story list was released
        EXPECT_EQ(qty.getString("descript").ToUtf8(), c.descript);
    }

    // Stories 0, 2 and 5: the index range says six, the list holds three.
    host->ClearFailures();
    host->Model()["stories"] = Host::Json::parse(
        R"([{"index": 0, "name": "Ground"}, {"index": 2, "name": "Second"}, {"index": 5, "name": "Roof"}])");
    for (const auto& [story, expected] : {std::pair<int, const char*>{5, "at Roof"}, {2, "at Second"}, {0, "at Ground"},
                                          {3, "at #LOC"}, {-1, "at #LOC"}}) {
        host->Model()["elements"][0]["story"] = story;  // the basic wall
        EXPECT_EQ(QtyDisplayDescription(MakeQty(Fx::WallBasic, "", 0.0, "at #LOC")).ToUtf8(), expected) << story;
    }
}

// ---- The sample project ------------------------------------------------------------------------

// Every element type of the sample, composite and profiled ones among them; every quantity an element
// offers evaluates, to the figure the project file holds where the host hands it over unchanged, and
// so does every skin of every composite. Properties and parameters are the host's lookups, checked
// with the host model; the element functions' use of them is checked on the fixture.
TEST_F(ElementFuncsTest, SampleProjectFormulasGiveTheProjectFilesFigures)
{
    host->SetProject(LoadJson(CALVORA_SAMPLE_PROJECT));
    // Named in the file as the variable with a small first letter ("refLineLength" for RefLength).
    const std::map<GS::Int32, const char*> unchanged = {
        {API_WallID, "Volume Area Length RefLength MaxHeight MinHeight Perimeter"},
        {API_ColumnID, "CoreVolume CoreArea Height"}, {API_BeamID, "Volume Area"},
        {API_WindowID, "Volume Width1 Height1"}, {API_SlabID, "Volume Perimeter"},
        {API_RoofID, "Volume Area ProjectionArea"}, {API_ZoneID, "Area NetArea Volume"},
        {API_StairID, "Volume NumOfRisers"}, {API_HatchID, "Area Perimeter"}, {API_MorphID, "Volume Area"},
        {API_RailingID, "Length"}, {API_CurtainWallID, "Length Area"}};
    const auto expectFormula = [](const std::string& guid, const std::string& formula, double expected) {
        const Outcome outcome = Evaluate(guid.c_str(), formula.c_str());
        EXPECT_TRUE(outcome.ok) << formula << ": " << outcome.error;
        EXPECT_NEAR(outcome.value, expected, 1e-8) << formula;
    };
    std::set<std::string> seen;  // "type" and "type name" of every name offered
    for (const Host::Json& e : host->Model()["elements"]) {
        const std::string guid = e.value("guid", "");
        const API_Element element = Read(guid.c_str());
        const GS::Int32 typeID = element.header.typeID;
        const std::string type = std::to_string(typeID);
        SCOPED_TRACE(guid + " type " + type);
        seen.insert(type);
        for (const GS::UniString& name : GetElementFuncsFactory().GetFunctionNames(element))
            seen.insert(type + " " + name.ToUtf8());
        // Only a slab without a composite lacks a name it offers: CoreThickness.
        for (const GS::UniString& offered : GetElementFuncsFactory().GetQuantityNames(element)) {
            const std::string name = offered.ToUtf8();
            seen.insert(type + " " + name);
            const bool noCore = typeID == API_SlabID && element.slab.composite == 0 && name == "CoreThickness";
            EXPECT_EQ(Evaluate(guid.c_str(), name.c_str()).ok, !noCore) << name;
        }
        // A section element is measured as its parent.
        const bool section = typeID == API_SectElemID;
        const Host::Json* source = section ? Host::FindElement(host->Model(), element.sectElem.parentGuid) : &e;
        ASSERT_NE(source, nullptr) << "the section element's parent";
        const auto measured = unchanged.find(section ? element.sectElem.parentID : typeID);
        std::istringstream names(measured != unchanged.end() ? measured->second : "");
        for (std::string name; names >> name;) {
            std::string key = name == "RefLength" ? "refLineLength" : name;
            key[0] = static_cast<char>(std::tolower(key[0]));
            expectFormula(guid, name, source->value("quantities", Host::Json::object()).value(key, 0.0));
        }
        const Host::Json skins = e.value("skins", Host::Json::array());
        for (std::size_t k = 1; e.value("structure", "") == "composite" && k <= skins.size() + 1; ++k) {
            const Host::Json skin = k <= skins.size() ? skins[k - 1] : Host::Json::object();  // none beyond the last
            expectFormula(guid, "SkinVolume(" + std::to_string(k) + ")", skin.value("volume", 0.0));
            expectFormula(guid, "SkinArea(" + std::to_string(k) + ")", skin.value("area", 0.0));
        }
    }
    for (const char* kind : {"1", "2", "3", "4", "6", "8", "9", "17", "18", "19", "20", "29", "37", "45", "47", "51",
                             "1 SkinVolume", "8 SkinVolume", "1 ProfileWidth", "3 ProfileArea", "2 ProfileArea"})
        EXPECT_EQ(seen.count(kind), 1u) << "the sample holds no element of type (and name) " << kind;
    EXPECT_EQ(Host::GetCurrentDatabaseInfo().typeID, APIWind_FloorPlanID);
}

}  // namespace
