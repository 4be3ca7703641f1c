// A quantity evaluated against its linked element through the real evaluator: results and
// messages, link status, locale and database switches, the displayed description.
#include "ElementFuncsTestSupport.hpp"

#include <cstdlib>
#include <set>

#include "GSRoot/Memory.hpp"

namespace {

// ---- Formulas end to end -----------------------------------------------------------------------

struct FormulaCase {
    const char* guid;
    const char* formula;
    bool ok;
    double value;
    const char* error;
};

const FormulaCase formulaCases[] = {
    {"", "2*3", true, 6.0, ""},
    {"", "Area", false, 0.0, "Variable was not defined: Area."},
    {"", "Property('x')", false, 0.0, "Undeclared identifier: Property."},
    {Fx::WallBasic, "Volume*1.05-Area*0.02", true, 9.9, ""},
    {Fx::WallBasic, "Foo(1)+1", true, 1.0, ""},
    {Fx::WallBasic, "volume", false, 0.0, "Variable was not defined: volume."},
    {Fx::WallBasic, "Property('Fire rating')*Length", true, 15.0, ""},
    {Fx::WallComposite, "SkinVolume(2)+SkinArea('brick')", true, 68.0, ""},
    {Fx::WallComposite, "SkinVolume(2.7)", true, 6.0, ""},
    {Fx::WallComposite, "SkinVolume(-1)+SkinVolume(0)+SkinVolume(99)", true, 0.0, ""},
    {Fx::WallComposite, "CoreVolume/Volume", true, 0.5, ""},
    {Fx::WallProfiled, "ProfileRegionVolume('concrete')", true, 0.48, ""},
    {Fx::BeamSlanted, "Length", true, 10.0, ""},
    {Fx::BeamProfiled, "CoreVolume+ProfileArea", true, 0.45, ""},
    {Fx::Slab, "Area-CoreThickness*100", true, 6.5, ""},
    {Fx::Stair, "NumOfRisers*2", true, 34.0, ""},
    {Fx::Window, "Width1*Height1+Parameter('Frame')", true, 1.87, ""},
    {Fx::Zone, "Area*Parameter('Ceiling')", true, 67.5, ""},
    {Fx::PolyLine, "Length", true, 7.0, ""},
    {Fx::Line, "Length+Property('Load')", true, 5.0, ""},
    {Fx::Railing, "Area/Length", true, 1.1, ""},
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

TEST_F(ElementFuncsTest, FormulasEvaluateAgainstTheLinkedElement)
{
    for (const FormulaCase& c : formulaCases) {
        SCOPED_TRACE(std::string(c.guid) + ": " + c.formula);
        const Outcome outcome = Evaluate(c.guid, c.formula);
        EXPECT_EQ(outcome.ok, c.ok);
        EXPECT_EQ(outcome.error, c.error);
        if (c.ok)
            EXPECT_NEAR(outcome.value, c.value, 1e-9);
        else
            EXPECT_EQ(outcome.value, -12345.0);  // untouched on failure
    }
}

TEST_F(ElementFuncsTest, EmptyFormulaIsZeroAndKeepsTheLastMessage)
{
    for (const char* guid : {"", Fx::WallBasic, Fx::Missing}) {
        Qty qty;
        qty.setString("guid", guid);
        qty.setErrorText("earlier message");
        double value = -1.0;
        EXPECT_TRUE(qty.evaluateFormula(&value, true));
        EXPECT_EQ(value, 0.0);
        EXPECT_STREQ(qty.errorText, "earlier message");
    }
}

TEST_F(ElementFuncsTest, SuccessEmptiesTheMessageAndFailureGivesZero)
{
    Qty qty;
    qty.setString("guid", Fx::WallBasic);
    qty.setString("formula", "Volume*");
    EXPECT_EQ(qty.getFormulaValue(false), 0.0);
    EXPECT_STRNE(qty.errorText, "");
    qty.setString("formula", "Volume/4");
    EXPECT_EQ(qty.getFormulaValue(false), 2.5);
    EXPECT_STREQ(qty.errorText, "");
}

// ---- Link status -------------------------------------------------------------------------------

struct LinkCase {
    const char* guid;
    const char* formula;
    double stored;
    QtyLinkStatus expected;
};

const LinkCase linkCases[] = {
    {"", "1+1", 2.0, LinkNotLinked},
    {"", "1+1", 5.0, LinkNotLinked},
    {Fx::Missing, "Volume", 10.0, LinkElementMissing},
    // The wall's Volume is 10; the limit lies strictly below 0.000001.
    {Fx::WallBasic, "Volume", 10.0, LinkUpToDate},
    {Fx::WallBasic, "Volume", 10.0000005, LinkUpToDate},
    {Fx::WallBasic, "Volume", 9.9999995, LinkUpToDate},
    {Fx::WallBasic, "Volume", 10.0000011, LinkOutdated},
    {Fx::WallBasic, "Volume", 9.9999989, LinkOutdated},
    {Fx::WallBasic, "Volume*2", 10.0, LinkOutdated},
    // A failing formula counts as 0.0.
    {Fx::WallBasic, "Volume*", 0.0, LinkUpToDate},
    {Fx::WallBasic, "Volume*", 10.0, LinkOutdated},
    {Fx::Section, "Volume", 12.0, LinkUpToDate},
    {Fx::SectionOrphan, "Volume", 12.0, LinkOutdated},
};

TEST_F(ElementFuncsTest, LinkStatusInAllFourStates)
{
    for (const LinkCase& c : linkCases) {
        SCOPED_TRACE(std::string(c.guid) + ": " + c.formula + " stored " + std::to_string(c.stored));
        Qty qty;
        qty.setString("guid", c.guid);
        qty.setString("formula", c.formula);
        qty.setDouble("value", c.stored);
        EXPECT_EQ(qty.getLinkStatus(), LinkNotComputed);
        EXPECT_EQ(qty.computeLinkStatus(), c.expected);
        EXPECT_EQ(qty.getLinkStatus(), LinkNotComputed);  // computing alone stores nothing
        qty.updateLinkStatus();
        EXPECT_EQ(qty.getLinkStatus(), c.expected);
        EXPECT_EQ(qty.linkStatus, c.expected);
    }
}

TEST_F(ElementFuncsTest, LinkStatusSetsTheMessageOfItsEvaluation)
{
    Qty qty;
    qty.setString("guid", Fx::WallBasic);
    qty.setString("formula", "Height");
    qty.updateLinkStatus();
    EXPECT_EQ(qty.linkStatus, LinkUpToDate);
    EXPECT_STREQ(qty.errorText, "Variable was not defined: Height.");
}

// ---- Locale ------------------------------------------------------------------------------------

// Makes de_DE.UTF-8 the user's default locale for the test and puts the environment back after.
class UserLocale {
public:
    explicit UserLocale(const char* name)
    {
        const char* old = std::getenv("LC_ALL");
        hadOld = old != nullptr;
        if (hadOld)
            oldValue = old;
        setenv("LC_ALL", name, 1);
    }
    ~UserLocale()
    {
        if (hadOld)
            setenv("LC_ALL", oldValue.c_str(), 1);
        else
            unsetenv("LC_ALL");
    }

private:
    bool hadOld = false;
    std::string oldValue;
};

bool GermanLocaleAvailable()
{
    const std::string before = std::setlocale(LC_ALL, nullptr);
    const bool ok = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    std::setlocale(LC_ALL, before.c_str());
    return ok;
}

const FormulaCase commaLocaleCases[] = {
    {"", "1,5*2", true, 3.0, ""},
    {"", "ROUND(7,3;0,5)", true, 7.5, ""},
    {Fx::WallBasic, "Thickness*1,5", true, 0.45, ""},
    {Fx::WallComposite, "SkinVolume(2,7)+Property('Fire rating')", true, 6.5, ""},
    {Fx::Section, "Volume*0,5", true, 6.0, ""},
    {"", "1,5*", false, 0.0, "Value to the right of operator is missing or invalid."},
    {Fx::WallBasic, "Height*1,5", false, 0.0, "Variable was not defined: Height."},
};

TEST_F(ElementFuncsTest, CommaLocaleFormulasAndTheLocaleIsRestored)
{
    ASSERT_TRUE(GermanLocaleAvailable()) << "de_DE.UTF-8 must be generated (locale-gen)";
    ASSERT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), "C");
    UserLocale german("de_DE.UTF-8");
    for (const FormulaCase& c : commaLocaleCases) {
        SCOPED_TRACE(std::string(c.guid) + ": " + c.formula);
        const Outcome outcome = Evaluate(c.guid, c.formula, true);
        EXPECT_EQ(outcome.ok, c.ok);
        EXPECT_EQ(outcome.error, c.error);
        if (c.ok) {
            EXPECT_NEAR(outcome.value, c.value, 1e-9);
        }
        // Restored on success and on error alike.
        EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), "C");
    }
    // The point is no decimal separator there, and without the switch the process locale holds.
    EXPECT_FALSE(Evaluate("", "1.5*2", true).ok);
    EXPECT_NEAR(Evaluate("", "1.5*2", false).value, 3.0, 1e-12);
    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), "C");
}

TEST_F(ElementFuncsTest, LinkStatusRunsInTheUserLocaleAndRestoresIt)
{
    ASSERT_TRUE(GermanLocaleAvailable());
    UserLocale german("de_DE.UTF-8");
    Qty qty;
    qty.setString("guid", Fx::WallBasic);
    qty.setString("formula", "Volume*0,5");
    qty.setDouble("value", 5.0);
    EXPECT_EQ(qty.computeLinkStatus(), LinkUpToDate);
    EXPECT_EQ(std::string(std::setlocale(LC_ALL, nullptr)), "C");
}

// ---- Current database --------------------------------------------------------------------------

TEST_F(ElementFuncsTest, SectionElementIsEvaluatedInTheModelDatabaseAndSwitchedBack)
{
    const Outcome outcome = Evaluate(Fx::Section, "Volume");
    ASSERT_TRUE(outcome.ok) << outcome.error;
    EXPECT_EQ(outcome.value, 12.0);
    const std::vector<Host::DatabaseSwitch>& log = Host::DatabaseSwitches();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].requested.typeID, APIWind_3DModelID);
    EXPECT_EQ(log[0].result, NoError);
    EXPECT_EQ(log[0].to.typeID, APIWind_3DModelID);
    EXPECT_EQ(log[1].requested.typeID, APIWind_FloorPlanID);
    EXPECT_EQ(log[1].result, NoError);
    EXPECT_STREQ(log[1].to.name, "Floor Plan");
    EXPECT_EQ(Host::GetCurrentDatabaseInfo().typeID, APIWind_FloorPlanID);
}

TEST_F(ElementFuncsTest, SectionElementWhoseParentIsGoneStillSwitchesBack)
{
    EXPECT_FALSE(Evaluate(Fx::SectionOrphan, "Volume").ok);
    ASSERT_EQ(Host::DatabaseSwitches().size(), 2u);
    EXPECT_EQ(Host::GetCurrentDatabaseInfo().typeID, APIWind_FloorPlanID);
}

TEST_F(ElementFuncsTest, FailedSwitchLeavesTheSectionElementWithoutElement)
{
    host->FailOperation("HostChangeDatabase");
    const Outcome outcome = Evaluate(Fx::Section, "Volume");
    EXPECT_FALSE(outcome.ok);
    EXPECT_EQ(outcome.error, "Variable was not defined: Volume.");
    ASSERT_EQ(Host::DatabaseSwitches().size(), 1u);  // no switch back when none was made
    EXPECT_NE(Host::DatabaseSwitches()[0].result, NoError);
    EXPECT_EQ(Host::GetCurrentDatabaseInfo().typeID, APIWind_FloorPlanID);
}

TEST_F(ElementFuncsTest, WorkingInASectionEvaluatesInTheModelAndReturnsToTheSection)
{
    ASSERT_TRUE(Host::SetCurrentDatabase(GS::Guid(Fx::SectionDb)));
    // The host measures no model element from a section's drawing.
    API_Element wall = Read(Fx::WallBasic);
    HostQuantitiesMask mask;
    HostMaskSetAll(&mask);
    HostElementQuantity quantity;
    API_Quantities results{&quantity, nullptr};
    API_QuantityPar params{0.0};
    ASSERT_NE(HostGetElementQuantities(wall.header.guid, &params, &results, &mask), NoError);

    const Outcome outcome = Evaluate(Fx::WallBasic, "Volume+Thickness");
    ASSERT_TRUE(outcome.ok) << outcome.error;
    EXPECT_NEAR(outcome.value, 10.3, 1e-12);
    const std::vector<Host::DatabaseSwitch>& log = Host::DatabaseSwitches();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].requested.typeID, APIWind_3DModelID);
    EXPECT_STREQ(log[1].to.name, "Section A-A");
    EXPECT_EQ(Host::GetCurrentDatabaseInfo().typeID, APIWind_SectionID);

    // From a floor plan no switch is made at all.
    ASSERT_TRUE(Host::SetCurrentDatabase(GS::Guid(Fx::FloorPlanDb)));
    Host::ClearDatabaseSwitches();
    EXPECT_TRUE(Evaluate(Fx::WallBasic, "Volume").ok);
    EXPECT_TRUE(Host::DatabaseSwitches().empty());
}

TEST_F(ElementFuncsTest, WorkingInASectionWhenTheSwitchFailsKeepsRecordVariables)
{
    ASSERT_TRUE(Host::SetCurrentDatabase(GS::Guid(Fx::SectionDb)));
    host->FailOperation("HostChangeDatabase");
    const Outcome thickness = Evaluate(Fx::WallBasic, "Thickness");
    EXPECT_TRUE(thickness.ok);
    EXPECT_EQ(thickness.value, 0.3);
    EXPECT_EQ(Evaluate(Fx::WallBasic, "Volume").error, "Variable was not defined: Volume.");
    EXPECT_EQ(Host::DatabaseSwitches().size(), 2u);  // one failed attempt per evaluation, nothing to undo
    EXPECT_EQ(Host::GetCurrentDatabaseInfo().typeID, APIWind_SectionID);
}

// ---- Displayed description ---------------------------------------------------------------------

struct DescriptionCase {
    const char* what;
    const char* guid;
    const char* descript;
    const char* failOp;  // "" for none
    const char* expected;
};

const DescriptionCase descriptionCases[] = {
    {"floor-plan element", Fx::WallBasic, "Wall #ID on #LOC", "", "Wall W-001 on First Floor"},
    {"every occurrence", Fx::Slab, "#ID/#ID at #LOC, #LOC", "", "S-001/S-001 at Ground Floor, Ground Floor"},
    {"section element", Fx::Section, "#ID in #LOC", "", "SE-001 in Section A-A"},
    {"empty ID text", Fx::WallNoSkins, "[#ID]", "", "[]"},
    {"no story of that index", Fx::WallNoCore, "#ID on #LOC", "", "W-004 on #LOC"},
    {"not linked", "", "Wall #ID on #LOC", "", "Wall #ID on #LOC"},
    {"no placeholder", Fx::WallBasic, "Plain text", "", "Plain text"},
    {"deleted element", Fx::Missing, "#ID on #LOC", "", "#ID on #LOC"},
    {"ID text fails", Fx::WallBasic, "Wall #ID on #LOC", "HostGetElementInfoString", "Wall #ID on First Floor"},
    {"database fails", Fx::WallBasic, "Wall #ID on #LOC", "HostGetContainingDatabase", "Wall W-001 on #LOC"},
    {"stories fail", Fx::WallBasic, "Wall #ID on #LOC", "HostGetStorySettings", "Wall W-001 on #LOC"},
    {"header fails", Fx::WallBasic, "Wall #LOC", "HostGetElementHeader", "Wall #LOC"},
};

TEST_F(ElementFuncsTest, DescriptionPlaceholders)
{
    for (const DescriptionCase& c : descriptionCases) {
        SCOPED_TRACE(c.what);
        host->ClearFailures();
        if (*c.failOp != '\0')
            host->FailOperation(c.failOp);
        const GS::Int64 handlesBefore = GS::LiveHandleCount();
        Qty qty;
        qty.setString("guid", c.guid);
        qty.setString("descript", c.descript);
        EXPECT_EQ(qty.getDisplayDescription().ToUtf8(), c.expected);
        EXPECT_EQ(GS::LiveHandleCount(), handlesBefore);  // the story list was released
        EXPECT_EQ(qty.getString("descript").ToUtf8(), c.descript);
    }
}

TEST_F(ElementFuncsTest, LocationFromAStoryListWithAGap)
{
    // Stories 0, 2 and 5: the index range says six, the list holds three.
    host->Model()["stories"] = Host::Json::parse(
        R"([{"index": 0, "name": "Ground Floor"}, {"index": 2, "name": "Second Floor"}, {"index": 5, "name": "Roof Floor"}])");
    const struct {
        GS::Int32 story;
        const char* expected;
    } cases[] = {{5, "at Roof Floor"}, {2, "at Second Floor"}, {0, "at Ground Floor"}, {3, "at #LOC"}, {-1, "at #LOC"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.story);
        host->Model()["elements"][0]["story"] = c.story;  // the basic wall
        Qty qty;
        qty.setString("guid", Fx::WallBasic);
        qty.setString("descript", "at #LOC");
        EXPECT_EQ(qty.getDisplayDescription().ToUtf8(), c.expected);
    }
}

// ---- The sample project ------------------------------------------------------------------------

struct SampleMapping {
    GS::Int32 typeID;
    const char* variable;
    const char* quantityKey;  // in the element's "quantities"
};

const SampleMapping sampleMappings[] = {
    {API_WallID, "Volume", "volume"},       {API_WallID, "Area", "area"},
    {API_WallID, "Length", "length"},       {API_WallID, "RefLength", "refLineLength"},
    {API_WallID, "MaxHeight", "maxHeight"}, {API_WallID, "MinHeight", "minHeight"},
    {API_WallID, "Perimeter", "perimeter"}, {API_ColumnID, "CoreVolume", "coreVolume"},
    {API_ColumnID, "CoreArea", "coreArea"}, {API_ColumnID, "Height", "height"},
    {API_BeamID, "Volume", "volume"},       {API_BeamID, "Area", "area"},
    {API_WindowID, "Volume", "volume"},     {API_WindowID, "Width1", "width1"},
    {API_WindowID, "Height1", "height1"},   {API_SlabID, "Volume", "volume"},
    {API_SlabID, "Perimeter", "perimeter"}, {API_RoofID, "Volume", "volume"},
    {API_RoofID, "Area", "area"},           {API_RoofID, "ProjectionArea", "projectionArea"},
    {API_ZoneID, "Area", "area"},           {API_ZoneID, "NetArea", "netArea"},
    {API_ZoneID, "Volume", "volume"},       {API_StairID, "Volume", "volume"},
    {API_StairID, "NumOfRisers", "numOfRisers"}, {API_HatchID, "Area", "area"},
    {API_HatchID, "Perimeter", "perimeter"}, {API_MorphID, "Volume", "volume"},
    {API_MorphID, "Area", "area"},          {API_RailingID, "Length", "length"},
    {API_CurtainWallID, "Length", "length"}, {API_CurtainWallID, "Area", "area"},
};

double StoredQuantity(const Host::Json& element, const char* key)
{
    auto q = element.find("quantities");
    if (q == element.end() || !q->is_object() || !q->contains(key) || !(*q)[key].is_number())
        return 0.0;
    return (*q)[key].get<double>();
}

TEST_F(ElementFuncsTest, SampleProjectFormulasEndToEnd)
{
    if (!std::ifstream(CALVORA_SAMPLE_PROJECT).good())
        GTEST_SKIP() << "Samples/sample-project.json is not there yet";
    host->SetProject(LoadJson(CALVORA_SAMPLE_PROJECT));
    const Host::Json& elements = host->Model()["elements"];
    ASSERT_TRUE(elements.is_array());

    std::set<GS::Int32> typesSeen;
    int checked = 0;
    for (const Host::Json& e : elements) {
        const std::string guid = e.value("guid", "");
        const API_Element element = Read(guid.c_str());
        const GS::Int32 typeID = element.header.typeID;
        typesSeen.insert(typeID);
        SCOPED_TRACE(guid + " type " + std::to_string(typeID));

        // Every offered quantity name is a formula that evaluates.
        // Only a slab without a composite attribute lacks one: its CoreThickness.
        for (const GS::UniString& name : GetElementFuncsFactory().GetQuantityNames(element)) {
            const Outcome outcome = Evaluate(guid.c_str(), name.ToUtf8().c_str());
            const bool noCoreThickness =
                typeID == API_SlabID && element.slab.composite == 0 && name == GS::UniString("CoreThickness");
            EXPECT_EQ(outcome.ok, !noCoreThickness) << name.ToUtf8() << ": " << outcome.error;
            ++checked;
        }
        // Host quantities arrive unchanged through the evaluator (8 decimals).
        const GS::Int32 measured = typeID == API_SectElemID ? element.sectElem.parentID : typeID;
        const Host::Json* source = &e;
        if (typeID == API_SectElemID) {
            source = nullptr;
            for (const Host::Json& p : elements)
                if (GS::Guid(p.value("guid", "").c_str()) == APIGuid2GSGuid(element.sectElem.parentGuid))
                    source = &p;
            ASSERT_NE(source, nullptr) << "the sample's section element has a parent";
        }
        for (const SampleMapping& m : sampleMappings) {
            if (m.typeID != measured)
                continue;
            const Outcome outcome = Evaluate(guid.c_str(), m.variable);
            ASSERT_TRUE(outcome.ok) << m.variable << ": " << outcome.error;
            EXPECT_NEAR(outcome.value, StoredQuantity(*source, m.quantityKey), 1e-8) << m.variable;
            ++checked;
        }
        // Each linked quantity of the sample is up to date with its own value.
        Qty qty;
        qty.setString("guid", guid.c_str());
        qty.setString("formula", "1");
        qty.setDouble("value", 1.0);
        EXPECT_EQ(qty.computeLinkStatus(), LinkUpToDate);
    }
    for (GS::Int32 typeID : {1, 2, 3, 4, 6, 8, 9, 17, 18, 19, 20, 29, 37, 45, 47, 51})
        EXPECT_TRUE(typesSeen.count(typeID) != 0) << "the sample holds no element of type " << typeID;
    EXPECT_GT(checked, 40);
    EXPECT_EQ(Host::GetCurrentDatabaseInfo().typeID, APIWind_FloorPlanID);
}

// Functions of the sample's elements against what the project file holds: every skin of every
// composite, every numeric property the element has a value of, every length or real parameter.
TEST_F(ElementFuncsTest, SampleProjectFunctionsEndToEnd)
{
    if (!std::ifstream(CALVORA_SAMPLE_PROJECT).good())
        GTEST_SKIP() << "Samples/sample-project.json is not there yet";
    host->SetProject(LoadJson(CALVORA_SAMPLE_PROJECT));
    const Host::Json& model = host->Model();
    const Host::Json definitions = model.value("propertyDefinitions", Host::Json::array());
    const Host::Json parts = model.value("libraryParts", Host::Json::array());

    auto expectFormula = [](const std::string& guid, const std::string& formula, double expected) {
        const Outcome outcome = Evaluate(guid.c_str(), formula.c_str());
        EXPECT_TRUE(outcome.ok) << formula << ": " << outcome.error;
        EXPECT_NEAR(outcome.value, expected, 1e-8) << formula;
    };
    auto numericType = [](const Host::Json& definition) {
        const std::string type = definition.value("valueType", "");
        return type == "real" || type == "integer";
    };

    int skins = 0;
    int properties = 0;
    int parameters = 0;
    for (const Host::Json& e : model["elements"]) {
        const std::string guid = e.value("guid", "");
        const API_Element element = Read(guid.c_str());
        SCOPED_TRACE(e.value("id", guid));

        if (e.value("structure", "") == "composite") {
            const Host::Json list = e.value("skins", Host::Json::array());
            for (std::size_t k = 1; k <= list.size(); ++k) {
                expectFormula(guid, "SkinVolume(" + std::to_string(k) + ")", list[k - 1].value("volume", 0.0));
                expectFormula(guid, "SkinArea(" + std::to_string(k) + ")", list[k - 1].value("area", 0.0));
                ++skins;
            }
            expectFormula(guid, "SkinVolume(" + std::to_string(list.size() + 1) + ")", 0.0);
        }

        const GS::Array<GS::UniString> functions = GetElementFuncsFactory().GetFunctionNames(element);
        const bool offersProperty = functions.Contains(GS::UniString("Property"));
        const Host::Json ownValues = e.value("properties", Host::Json::object());
        for (const auto& own : ownValues.items()) {
            const Host::Json* definition = nullptr;
            for (const Host::Json& d : definitions)
                if (GS::Guid(d.value("guid", "").c_str()) == GS::Guid(own.key().c_str()))
                    definition = &d;
            if (definition == nullptr || !numericType(*definition) || !own.value().is_number())
                continue;
            // Only names that no other numeric definition shares, so the first one found is this one.
            const std::string name = definition->value("name", "");
            int sameName = 0;
            for (const Host::Json& d : definitions)
                sameName += numericType(d) && d.value("name", "") == name ? 1 : 0;
            if (sameName != 1 || name.find('\'') != std::string::npos)
                continue;
            expectFormula(guid, "Property('" + name + "')", offersProperty ? own.value().get<double>() : 0.0);
            ++properties;
        }

        if (element.header.typeID == API_WindowID || element.header.typeID == API_ObjectID ||
            element.header.typeID == API_ZoneID) {
            Host::Json params = e.value("params", Host::Json());
            if (!params.is_array()) {
                params = Host::Json::array();
                for (const Host::Json& part : parts)
                    if (part.value("index", 0) == e.value("libInd", -1))
                        params = part.value("params", Host::Json::array());
            }
            std::set<std::string> seen;
            for (const Host::Json& param : params) {
                const std::string name = param.value("name", "");
                const std::string type = param.value("type", "");
                const bool numeric = type == "length" || type == "realNum" || type == "real";
                if (!numeric || !seen.insert(name).second || name.size() > 32 || name.find('\'') != std::string::npos)
                    continue;
                expectFormula(guid, "Parameter('" + name + "')", param.value("value", 0.0));
                ++parameters;
            }
            expectFormula(guid, "Parameter('NoSuchParameter')", 0.0);
        }
    }
    EXPECT_GT(skins, 0);
    EXPECT_GT(properties, 0);
    EXPECT_GT(parameters, 0);
    EXPECT_TRUE(Host::ElementCounters().Balanced());
}

}  // namespace
