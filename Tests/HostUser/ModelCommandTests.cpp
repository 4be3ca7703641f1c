// Changing the model from the host's commands (stored figures, deleting with the selection
// following) and the host's palette messages, through the table the add-on is handed.
#include <fstream>

#include "Host/Model.hpp"
#include "HostUserFixture.hpp"

namespace HostUser {
namespace {

#define E(n) "E0000000-0000-4000-8000-0000000000" #n
const std::string Wall = E(01), CompositeWall = E(02), Column = E(11), Window = E(31), Door = E(32);
const std::string Line = E(91), Section = E(B1), Stair = E(E1), Missing = E(FF);
#undef E

const API_FunctionTable& Table(const Host::StandInHost& host)
{
    return *static_cast<const API_FunctionTable*>(host.Table());
}

GSErrCode OnSelection(const API_Neig* neig)
{
    Log("selection " + (neig->guid == APINULLGuid ? std::string("none") : APIGuid2GSGuid(neig->guid).ToString()));
    return NoError;
}

struct ModelHost {
    Host::StandInHost host;
    std::ostringstream out;
    Host::ScriptRunner runner{host, out};
    ModelHost()
    {
        std::ifstream in(HOSTUSER_FIXTURE_MODEL);
        host.SetProject(Host::Json::parse(in));
        reinterpret_cast<HostCatchSelectionChangeFn>(Table(host).entries[Slot_CatchSelectionChange])(&OnSelection);
        Events().clear();
    }
    // Runs a line: it prints exactly the output given (not checked when empty), or fails with an error
    // holding the text given.
    void Expect(const std::string& line, bool ok, const std::string& outputOrError)
    {
        out.str("");
        std::string error;
        EXPECT_EQ(runner.RunLine(line, &error), ok) << line << ": " << error;
        if (!ok) {
            EXPECT_NE(error.find(outputOrError), std::string::npos) << line << ": " << error;
        } else if (!outputOrError.empty()) {
            EXPECT_EQ(out.str(), outputOrError) << line;
        }
    }
    // The stored value at a path below the element ("-" when absent, "gone" without the element).
    std::string Stored(const std::string& guid, const std::string& path)
    {
        const Host::Json* element = Host::FindElement(host.Model(), GS::Guid(guid.c_str()));
        if (element == nullptr)
            return "gone";
        const Host::Json::json_pointer pointer(path);
        return element->contains(pointer) ? element->at(pointer).dump() : "-";
    }
};

TEST(ModelCommands, FiguresChangeAndWrongChangesAreRefused)
{
    ModelHost m;
    struct Case {
        std::string guid, change;   // "element GUID set CHANGE"
        bool ok;
        std::string outputOrError;  // for a change, what follows "element GUID: " ("" unchecked); else a part of the error
        std::string path, stored;
    } cases[] = {
        {Wall, "volume 12.5", true, "volume = 12.5\n", "/quantities/volume", "12.5"},
        {Wall, "quantities.area 2", true, "quantities.area = 2\n", "/quantities/area", "2"},
        {Wall, "height 3.25", true, "height = 3.25\n", "/height", "3.25"},
        {Wall, "id \"W-9\"", true, "id = \"W-9\"\n", "/id", "\"W-9\""},
        {Wall, "volume null", true, "volume = null\n", "/quantities/volume", "-"},
        {CompositeWall, "skins.3.area 9", true, "", "/skins/2/area", "9"},
        {Column, "height 4", true, "", "/quantities/height", "4"},
        {Column, ".height 5", true, "", "/height", "5"},
        {Door, "sillHeight 0.8", true, "", "/quantities/sillHeight", "0.8"},
        {Stair, "numOfRisers 18", true, "", "/quantities/numOfRisers", "18"},
        // Refused, and the element stays as it was.
        {Stair, "numOfRisers 17.5", false, "numOfRisers takes a whole number", "/quantities/numOfRisers", "18"},
        {Wall, "quantities.bogus 1", false, "a Wall has no quantity 'bogus'", "/quantities/bogus", "-"},
        {Wall, "area \"much\"", false, "a quantity takes a number", "/quantities/area", "2"},
        {Line, "quantities.volume 1", false, "a Line has no quantities", "/quantities", "-"},
        {Line, "volume 1", false, "unknown key \"volume\"", "/volume", "-"},
        {Wall, "buildingMaterial 99", false, "\"buildingMaterial\" names no attribute 99", "/buildingMaterial", "1"},
        {Wall, "height \"tall\"", false, "\"height\" is not a number", "/height", "3.25"},
        {CompositeWall, "skins.9.area 1", false, "\"skins\" has no entry 9 (it has 3)", "/skins/2/area", "9"},
        {Wall, "guid " + Missing, false, "the guid and the type of an element cannot be changed", "/guid",
         "\"" + Wall + "\""},
        {Wall, "typeID Slab", false, "cannot be changed", "/typeID", "\"Wall\""},
        {Missing, "volume 1", false, "no element " + Missing, "", "gone"},
        {Wall, "volume", false, "element takes a guid and 'set FIELD VALUE' or 'delete'", "/quantities/volume", "-"},
    };
    for (const Case& c : cases) {
        const bool printed = c.ok && !c.outputOrError.empty();
        m.Expect("element " + c.guid + " set " + c.change, c.ok,
                 printed ? "element " + c.guid + ": " + c.outputOrError : c.outputOrError);
        EXPECT_EQ(m.Stored(c.guid, c.path), c.stored) << c.change;
    }
    m.Expect("element nope delete", false, "element takes a guid");
    EXPECT_EQ(TakeEvents(), "");  // figures change without telling the add-on
    EXPECT_TRUE(Host::CheckModel(m.host.Model()).empty());

    // The add-on reads the changed figure at its next call.
    HostElementQuantity quantities{};
    API_Quantities where{&quantities, nullptr};
    const API_Guid wallGuid = GSGuid2APIGuid(GS::Guid(Wall.c_str()));
    auto get = reinterpret_cast<HostGetElementQuantitiesFn>(Table(m.host).entries[Slot_GetElementQuantities]);
    ASSERT_EQ(get(&wallGuid, nullptr, &where, nullptr), NoError);
    EXPECT_EQ(quantities.wall.area, 2.0);
    EXPECT_EQ(quantities.wall.volume, 0.0);
}

TEST(ModelCommands, DeletingRemovesDependentsAndTheSelectionFollows)
{
    struct Case {
        std::vector<std::string> selected;
        std::string deleted;
        std::string output;
        std::vector<std::string> gone, kept;
        std::string events;  // what the add-on heard after the selection was made
    } cases[] = {
        // A wall takes its window; the selection keeps the rest, and the add-on hears of it.
        {{Window, Door}, Wall,
         "deleted element " + Wall + " with " + Window + "\nselection: 1 element(s)\n  " + Door + " type 5\n",
         {Wall, Window}, {Door, CompositeWall}, "selection " + Door},
        // A composite wall takes its section element; nothing selected changes, so nobody is told.
        {{Door}, CompositeWall, "deleted element " + CompositeWall + " with " + Section + "\n",
         {CompositeWall, Section}, {Door, Wall, Window}, ""},
        {{Line}, Line, "deleted element " + Line + "\nselection: 0 element(s)\n", {Line}, {Wall}, "selection none"},
    };
    for (const Case& c : cases) {
        ModelHost m;
        std::string error;
        std::string select = "select";
        for (const auto& g : c.selected)
            select += " " + g;
        ASSERT_TRUE(m.runner.RunLine(select, &error)) << error;
        TakeEvents();
        m.out.str("");
        ASSERT_TRUE(m.runner.RunLine("element " + c.deleted + " delete", &error)) << error;
        EXPECT_EQ(m.out.str(), c.output);
        EXPECT_EQ(TakeEvents(), c.events) << c.deleted;
        for (const auto& g : c.gone)
            EXPECT_EQ(m.Stored(g, ""), "gone") << g;
        for (const auto& g : c.kept)
            EXPECT_NE(m.Stored(g, ""), "gone") << g;
        EXPECT_TRUE(Host::CheckModel(m.host.Model()).empty());
        const auto& selection = m.host.Model()["selection"];
        EXPECT_EQ(selection.size(), m.host.Selection().size());
        EXPECT_FALSE(m.runner.RunLine("element " + c.deleted + " delete", &error));
        EXPECT_EQ(error, "no element " + c.deleted);
    }
}

// The host's palette messages reach the callback registered under the reference id.
bool paletteVisible = false;
GSErrCode OnPaletteMessage(GS::Int32 refId, API_PaletteMessageID message, GS::Int64 param)
{
    Log(std::to_string(refId) + " message " + std::to_string(message));
    if (message == APIPalMsg_OpenPalette)
        paletteVisible = true;
    if (message == APIPalMsg_ClosePalette)
        paletteVisible = false;
    if (message == APIPalMsg_IsPaletteVisible)
        *reinterpret_cast<bool*>(param) = paletteVisible;
    return NoError;
}

TEST(ModelCommands, PaletteMessages)
{
    ModelHost m;
    const char* guid = "B0000000-0000-4000-8000-000000000001";
    const API_Guid apiGuid = GSGuid2APIGuid(GS::Guid(guid));
    auto reg = reinterpret_cast<HostRegisterPaletteFn>(Table(m.host).entries[Slot_RegisterPalette]);
    ASSERT_EQ(reg(-17, &OnPaletteMessage, 0x3F7, &apiGuid), NoError);
    struct Case {
        std::string line;
        bool ok;
        std::string outputOrError;
        std::string events;
    } cases[] = {
        {"show palettes", true, "palette -17 guid " + std::string(guid) + " flags 0x3F7\n", ""},
        {"palette -17 7", true, "visible false\n", "-17 message 7"},
        {"palette -17 open", true, "palette -17: message 6 (open)\n", "-17 message 6"},
        {"palette " + std::string(guid) + " visible", true, "visible true\n", "-17 message 7"},
        {"palette -17 2", true, "palette -17: message 2 (hide-begin)\n", "-17 message 2"},
        {"palette -17 close", true, "palette -17: message 1 (close)\n", "-17 message 1"},
        {"palette -17 visible", true, "visible false\n", "-17 message 7"},
        {"palette -17 8", false, "a palette message is a number from 1 to 7", ""},
        {"palette 5 open", false, "no palette is registered with reference id 5", ""},
        {"palette " + Missing + " open", false, "no palette is registered as '" + Missing + "'", ""},
    };
    for (const Case& c : cases) {
        m.Expect(c.line, c.ok, c.outputOrError);
        EXPECT_EQ(TakeEvents(), c.events) << c.line;
    }
}

}  // namespace
}  // namespace HostUser
