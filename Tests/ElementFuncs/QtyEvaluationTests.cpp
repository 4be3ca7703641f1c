// A quantity evaluated against its linked element through the real evaluator: results and
// messages, link status, locale and database switches, the displayed description.
#include "ElementFuncsTestSupport.hpp"

#include <cctype>
#include <cstdlib>
#include <map>
#include <set>

#include "GSRoot/Memory.hpp"

namespace {

struct FormulaCase {
    const char* guid;
    const char* formula;
    bool ok;
    double value;
    const char* error;
};

void ExpectOutcome(const FormulaCase& c, bool switchLocale)
{
    const Outcome outcome = Evaluate(c.guid, c.formula, switchLocale);
    EXPECT_EQ(outcome.ok, c.ok) << c.guid << ": " << c.formula;
    EXPECT_EQ(outcome.error, c.error) << c.guid << ": " << c.formula;
    EXPECT_NEAR(outcome.value, c.ok ? c.value : -12345.0, 1e-9) << c.guid << ": " << c.formula;
}

TEST_F(ElementFuncsTest, FormulasEvaluateAgainstTheLinkedElement)
{
    const FormulaCase cases[] = {
        {"", "2*3", true, 6.0, ""},
        {"", "Area", false, 0.0, "Variable was not defined: Area."},
        {"", "Property('x')", false, 0.0, "Undeclared identifier: Property."},
        {Fx::WallBasic, "Volume*1.05-Area*0.02", true, 9.9, ""},
        {Fx::WallBasic, "Foo(1)+1", true, 1.0, ""},
        {Fx::WallBasic, "volume", false, 0.0, "Variable was not defined: volume."},
        {Fx::WallBasic, "Property('Fire rating')*Length", true, 15.0, ""},
        // Every argument reaches the element type in its order: Property reads the first only,
        // Parameter refuses two.
        {Fx::WallBasic, "Property('Load',7)", true, 3.0, ""},
        {Fx::WallBasic, "Property(7,'Load')", true, 0.0, ""},
        {Fx::Object, "Parameter('Len','x')", true, 0.0, ""},
        {Fx::Object, "Parameter('Rate')+Parameter('Len')*2", true, 9.5, ""},
        {Fx::WallComposite, "SkinVolume(2)+SkinArea('brick')", true, 68.0, ""},
        {Fx::Slab, "Area-CoreThickness*100", true, 6.5, ""},
        {Fx::Window, "Width1*Height1+Parameter('Frame')", true, 1.87, ""},
        {Fx::Zone, "Area*Parameter('Ceiling')", true, 67.5, ""},
        {Fx::Line, "Length+Property('Load')", true, 5.0, ""},
        {Fx::Door, "Width1", false, 0.0, "Variable was not defined: Width1."},
        {Fx::Door, "Property('Load')+1", true, 1.0, ""},
        // A deleted element: no variables, numbers still evaluate.
        {Fx::Missing, "Volume*2", false, 0.0, "Variable was not defined: Volume."},
        {Fx::Missing, "2+3", true, 5.0, ""},
        {Fx::Missing, "Property('Load')", false, 0.0, "Undeclared identifier: Property."},
        // A section element stands for its parent, the composite wall.
        {Fx::Section, "Volume+SkinVolume(2)", true, 18.0, ""},
        {Fx::SectionOrphan, "Volume", false, 0.0, "Variable was not defined: Volume."},
    };
    for (const FormulaCase& c : cases)
        ExpectOutcome(c, false);

    // The context keeps the first value a name was given.
    ElementFormulaContext context;
    context.SetVariable("A", 1.0);
    context.SetVariable("A", 2.0);
    double value = 0.0;
    ASSERT_EQ(Math_Evaluate(&context, "A*10", &value), Math_NoError);
    EXPECT_EQ(value, 10.0);
}

TEST_F(ElementFuncsTest, EmptyFormulaIsZeroAndOnlyAnEvaluationSetsTheMessage)
{
    for (const char* guid : {"", Fx::WallBasic, Fx::Missing}) {
        Qty qty = MakeQty(guid, "");
        qty.setErrorText("earlier message");
        double value = -1.0;
        EXPECT_TRUE(EvaluateQtyFormula(qty, &value, true));
        EXPECT_EQ(value, 0.0);
        EXPECT_STREQ(qty.errorText, "earlier message");
    }
    Qty qty = MakeQty(Fx::WallBasic, "Volume*");
    EXPECT_EQ(QtyFormulaValue(qty, false), 0.0);
    qty.setString("formula", "Volume/4");
    EXPECT_EQ(QtyFormulaValue(qty, false), 2.5);
    EXPECT_STREQ(qty.errorText, "");  // the failure's message is gone
}

TEST_F(ElementFuncsTest, LinkStatusInAllFourStates)
{
    const struct {
        const char* guid;
        const char* formula;
        double stored;
        QtyLinkStatus expected;
    } cases[] = {
        {"", "1+1", 5.0, LinkNotLinked},
        {Fx::Missing, "Volume", 10.0, LinkElementMissing},
        // The wall's Volume is 10; the limit lies strictly below 0.000001.
        {Fx::WallBasic, "Volume", 10.0, LinkUpToDate},
        {Fx::WallBasic, "Volume", 10.0000005, LinkUpToDate},
        {Fx::WallBasic, "Volume", 9.9999995, LinkUpToDate},
        {Fx::WallBasic, "Volume", 10.0000011, LinkOutdated},
        {Fx::WallBasic, "Volume", 9.9999989, LinkOutdated},
        // A failing formula counts as 0.0.
        {Fx::WallBasic, "Volume*", 0.0, LinkUpToDate},
        {Fx::WallBasic, "Volume*", 10.0, LinkOutdated},
        {Fx::Section, "Volume", 12.0, LinkUpToDate},
        {Fx::SectionOrphan, "Volume", 12.0, LinkOutdated},
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

// Makes the locale the user's default for one test and puts the environment back after.
struct UserLocale {
    explicit UserLocale(const char* name) : old(std::getenv("LC_ALL") ? std::getenv("LC_ALL") : "")
    {
        setenv("LC_ALL", name, 1);
    }
    ~UserLocale() { old.empty() ? unsetenv("LC_ALL") : setenv("LC_ALL", old.c_str(), 1); }
    std::string old;
};

TEST_F(ElementFuncsTest, CommaLocaleFormulasAndTheLocaleIsRestored)
{
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 must be generated (locale-gen)";
    std::setlocale(LC_ALL, "C");
    UserLocale german("de_DE.UTF-8");
    const FormulaCase cases[] = {
        {"", "1,5*2", true, 3.0, ""},
        {"", "ROUND(7,3;0,5)", true, 7.5, ""},
        {Fx::WallComposite, "SkinVolume(2,7)+Property('Fire rating')", true, 6.5, ""},
        {Fx::Section, "Volume*0,5", true, 6.0, ""},
        {"", "1,5*", false, 0.0, "Value to the right of operator is missing or invalid."},
        {Fx::WallBasic, "Height*1,5", false, 0.0, "Variable was not defined: Height."},
        {"", "1.5*2", false, 0.0, "Token is invalid: ."},  // the point is no decimal separator there
    };
    for (const FormulaCase& c : cases) {
        ExpectOutcome(c, true);
        EXPECT_EQ(CurrentLocale(), "C");  // restored on success and on error alike
    }
    // Without the switch the process locale holds; the link status runs in the user's locale.
    ExpectOutcome({"", "1.5*2", true, 3.0, ""}, false);
    Qty halfVolume = MakeQty(Fx::WallBasic, "Volume*0,5", 5.0);
    EXPECT_EQ(ComputeQtyLinkStatus(halfVolume), LinkUpToDate);
    EXPECT_EQ(CurrentLocale(), "C");
}

// A database switch as logged by the stand-in: where it landed, "!" when it failed.
std::string SwitchLog()
{
    std::string text;
    for (const Host::DatabaseSwitch& s : Host::DatabaseSwitches())
        text += (text.empty() ? "" : ", ") + std::string(s.to.name) + (s.result == NoError ? "" : "!");
    return text;
}

TEST_F(ElementFuncsTest, ModelElementsAreEvaluatedInTheModelAndTheDatabaseIsSwitchedBack)
{
    const struct {
        bool inSection;  // the user works in a section rather than the floor plan
        bool switchFails;
        const char* guid;
        const char* formula;
        bool ok;
        double value;
        const char* log;
    } cases[] = {
        {false, false, Fx::Section, "Volume", true, 12.0, "3D Model, Floor Plan"},
        {false, false, Fx::SectionOrphan, "Volume", false, 0.0, "3D Model, Floor Plan"},
        {false, true, Fx::Section, "Volume", false, 0.0, "Floor Plan!"},  // nothing to switch back
        {false, false, Fx::WallBasic, "Volume", true, 10.0, ""},
        {true, false, Fx::WallBasic, "Volume+Thickness", true, 10.3, "3D Model, Section A-A"},
        {true, true, Fx::WallBasic, "Thickness", true, 0.3, "Section A-A!"},  // record variables only
        {true, true, Fx::WallBasic, "Volume", false, 0.0, "Section A-A!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.guid) + (c.inSection ? " from a section" : "") + (c.switchFails ? ", failing" : ""));
        host->ClearFailures();
        ASSERT_TRUE(Host::SetCurrentDatabase(GS::Guid(c.inSection ? Fx::SectionDb : Fx::FloorPlanDb)));
        Host::ClearDatabaseSwitches();
        if (c.switchFails)
            host->FailOperation("HostChangeDatabase");
        const Outcome outcome = Evaluate(c.guid, c.formula);
        EXPECT_EQ(outcome.ok, c.ok) << outcome.error;
        EXPECT_NEAR(outcome.ok ? outcome.value : 0.0, c.value, 1e-12);
        EXPECT_EQ(SwitchLog(), c.log);
        EXPECT_EQ(Host::GetCurrentDatabaseInfo().typeID, c.inSection ? APIWind_SectionID : APIWind_FloorPlanID);
    }
}

TEST_F(ElementFuncsTest, DescriptionPlaceholders)
{
    const struct {
        const char* guid;
        const char* descript;
        const char* failOp;  // "" for none
        const char* expected;
    } cases[] = {
        {Fx::WallBasic, "Wall #ID on #LOC", "", "Wall W-001 on First Floor"},
        {Fx::Slab, "#ID/#ID at #LOC, #LOC", "", "S-001/S-001 at Ground Floor, Ground Floor"},
        {Fx::Section, "#ID in #LOC", "", "SE-001 in Section A-A"},
        {Fx::WallNoSkins, "[#ID]", "", "[]"},                  // empty ID text
        {Fx::WallNoCore, "#ID on #LOC", "", "W-004 on #LOC"},  // no story of that index
        {"", "Wall #ID on #LOC", "", "Wall #ID on #LOC"},
        {Fx::Missing, "#ID on #LOC", "", "#ID on #LOC"},
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

// Host quantities that must arrive unchanged through the evaluator, named in the project file as the
// variable with a small first letter ("refLineLength" for RefLength).
const std::map<GS::Int32, const char*> sampleQuantities = {
    {API_WallID, "Volume Area Length RefLength MaxHeight MinHeight Perimeter"},
    {API_ColumnID, "CoreVolume CoreArea Height"}, {API_BeamID, "Volume Area"}, {API_WindowID, "Volume Width1 Height1"},
    {API_SlabID, "Volume Perimeter"},
    {API_RoofID, "Volume Area ProjectionArea"}, {API_ZoneID, "Area NetArea Volume"}, {API_StairID, "Volume NumOfRisers"},
    {API_HatchID, "Area Perimeter"}, {API_MorphID, "Volume Area"}, {API_RailingID, "Length"},
    {API_CurtainWallID, "Length Area"},
};

class SampleProjectTest : public ElementFuncsTest {
protected:
    void SetUp() override
    {
        ElementFuncsTest::SetUp();
        host->SetProject(LoadJson(CALVORA_SAMPLE_PROJECT));
    }
    static void ExpectFormula(const std::string& guid, const std::string& formula, double expected)
    {
        const Outcome outcome = Evaluate(guid.c_str(), formula.c_str());
        EXPECT_TRUE(outcome.ok) << formula << ": " << outcome.error;
        EXPECT_NEAR(outcome.value, expected, 1e-8) << formula;
    }
    const Host::Json* ElementOf(const API_Guid& guid)
    {
        for (const Host::Json& e : host->Model()["elements"])
            if (GS::Guid(e.value("guid", "").c_str()) == APIGuid2GSGuid(guid))
                return &e;
        return nullptr;
    }
};

// Every offered quantity, every skin of every composite, every numeric property the element has a
// value of, every length or real parameter, against what the project file holds.
TEST_F(SampleProjectTest, FormulasGiveTheProjectFilesFigures)
{
    const Host::Json& model = host->Model();
    const Host::Json definitions = model.value("propertyDefinitions", Host::Json::array());
    auto numeric = [](const Host::Json& d) { return d.value("valueType", "") == "real" || d.value("valueType", "") == "integer"; };
    std::set<GS::Int32> typesSeen;
    std::set<std::string> kindsSeen;
    int skins = 0, properties = 0, parameters = 0;
    for (const Host::Json& e : model["elements"]) {
        const std::string guid = e.value("guid", "");
        const API_Element element = Read(guid.c_str());
        const GS::Int32 typeID = element.header.typeID;
        typesSeen.insert(typeID);
        // Composite walls and slabs offer the skin functions; profiled walls, beams and columns their profile.
        const std::string offered = Join(GetElementFuncsFactory().GetQuantityNames(element)) + "," +
                                    Join(GetElementFuncsFactory().GetFunctionNames(element));
        for (const char* kind : {"SkinVolume", "ProfileWidth", "ProfileArea"})
            kindsSeen.insert(std::to_string(typeID) + " " + (offered.find(kind) != std::string::npos ? kind : ""));
        SCOPED_TRACE(guid + " type " + std::to_string(typeID));
        // Only a slab without a composite lacks a name it offers: CoreThickness.
        for (const GS::UniString& name : GetElementFuncsFactory().GetQuantityNames(element)) {
            const bool noCore = typeID == API_SlabID && element.slab.composite == 0 && name == GS::UniString("CoreThickness");
            EXPECT_EQ(Evaluate(guid.c_str(), name.ToUtf8().c_str()).ok, !noCore) << name.ToUtf8();
        }
        // A section element is measured as its parent.
        const bool section = typeID == API_SectElemID;
        const Host::Json* source = section ? ElementOf(element.sectElem.parentGuid) : &e;
        ASSERT_NE(source, nullptr) << "the section element's parent";
        const auto measured = sampleQuantities.find(section ? element.sectElem.parentID : typeID);
        std::istringstream names(measured != sampleQuantities.end() ? measured->second : "");
        for (std::string name; names >> name;) {
            std::string key = name == "RefLength" ? "refLineLength" : name;
            key[0] = static_cast<char>(std::tolower(key[0]));
            ExpectFormula(guid, name, source->value("quantities", Host::Json::object()).value(key, 0.0));
        }

        const Host::Json list = e.value("skins", Host::Json::array());
        for (std::size_t k = 1; e.value("structure", "") == "composite" && k <= list.size() + 1; ++k, ++skins) {
            const bool beyond = k > list.size();
            ExpectFormula(guid, "SkinVolume(" + std::to_string(k) + ")", beyond ? 0.0 : list[k - 1].value("volume", 0.0));
            ExpectFormula(guid, "SkinArea(" + std::to_string(k) + ")", beyond ? 0.0 : list[k - 1].value("area", 0.0));
        }
        const bool offersProperty = GetElementFuncsFactory().GetFunctionNames(element).Contains(GS::UniString("Property"));
        const Host::Json ownValues = e.value("properties", Host::Json::object());  // alive while iterated
        for (const auto& own : ownValues.items()) {
            // Only names that no other numeric definition shares, so the first one found is this one.
            const Host::Json* definition = nullptr;
            int sameName = 0;
            for (const Host::Json& d : definitions)
                if (GS::Guid(d.value("guid", "").c_str()) == GS::Guid(own.key().c_str()))
                    definition = &d;
            for (const Host::Json& d : definitions)
                sameName += definition != nullptr && numeric(d) && d.value("name", "") == definition->value("name", "");
            if (sameName != 1 || !numeric(*definition) || !own.value().is_number())
                continue;
            ExpectFormula(guid, "Property('" + definition->value("name", "") + "')",
                          offersProperty ? own.value().get<double>() : 0.0);
            ++properties;
        }
        if (typeID != API_WindowID && typeID != API_ObjectID && typeID != API_ZoneID)
            continue;
        Host::Json params = e.value("params", Host::Json());
        for (const Host::Json& part : model.value("libraryParts", Host::Json::array()))
            if (!params.is_array() && part.value("index", 0) == e.value("libInd", -1))
                params = part.value("params", Host::Json::array());
        std::set<std::string> seen;
        for (const Host::Json& param : params) {
            const std::string name = param.value("name", ""), type = param.value("type", "");
            if ((type == "length" || type == "realNum" || type == "real") && seen.insert(name).second) {
                ExpectFormula(guid, "Parameter('" + name + "')", param.value("value", 0.0));
                ++parameters;
            }
        }
        ExpectFormula(guid, "Parameter('NoSuchParameter')", 0.0);
    }
    for (GS::Int32 typeID : {1, 2, 3, 4, 6, 8, 9, 17, 18, 19, 20, 29, 37, 45, 47, 51})
        EXPECT_EQ(typesSeen.count(typeID), 1u) << "the sample holds no element of type " << typeID;
    for (const char* kind : {"1 SkinVolume", "8 SkinVolume", "1 ProfileWidth", "3 ProfileArea", "2 ProfileArea"})
        EXPECT_EQ(kindsSeen.count(kind), 1u) << "the sample holds no element of type and kind " << kind;
    EXPECT_GT(skins, 0);
    EXPECT_GT(properties, 0);
    EXPECT_GT(parameters, 0);
    EXPECT_EQ(Host::GetCurrentDatabaseInfo().typeID, APIWind_FloorPlanID);
}

}  // namespace
