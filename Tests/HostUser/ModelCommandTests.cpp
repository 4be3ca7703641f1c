// Changing the model from the host's commands: stored figures (what the add-on then reads is the
// editor scenarios'), deleting with the selection following.
#include <fstream>

#include "Host/Model.hpp"
#include "HostUserFixture.hpp"

namespace HostUser {
namespace {

#define E(n) "E0000000-0000-4000-8000-0000000000" #n
const std::string Wall = E(01), CompositeWall = E(02), Column = E(11), Window = E(31), Door = E(32);
const std::string Line = E(91), Section = E(B1), Stair = E(E1), Missing = E(FF);
#undef E

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
        Entry<HostCatchSelectionChangeFn>(host, Slot_CatchSelectionChange)(&OnSelection);
        Events().clear();
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
        std::string outputOrError;  // for a change, what follows "element GUID: "; else a part of the error
        std::string path, stored;
    } cases[] = {
        {Wall, "volume 12.5", true, "volume = 12.5\n", "/quantities/volume", "12.5"},
        {Wall, "quantities.area 2", true, "quantities.area = 2\n", "/quantities/area", "2"},
        {Wall, "height 3.25", true, "height = 3.25\n", "/height", "3.25"},
        {Wall, "id \"W-9\"", true, "id = \"W-9\"\n", "/id", "\"W-9\""},
        {Wall, "volume null", true, "volume = null\n", "/quantities/volume", "-"},
        {CompositeWall, "skins.3.area 9", true, "skins.3.area = 9\n", "/skins/2/area", "9"},
        {Column, "height 4", true, "height = 4\n", "/quantities/height", "4"},
        {Column, ".height 5", true, ".height = 5\n", "/height", "5"},
        {Door, "sillHeight 0.8", true, "sillHeight = 0.8\n", "/quantities/sillHeight", "0.8"},
        {Stair, "numOfRisers 18", true, "numOfRisers = 18\n", "/quantities/numOfRisers", "18"},
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
        ExpectLine(m.runner, m.out, "element " + c.guid + " set " + c.change, c.ok,
                   (c.ok ? "element " + c.guid + ": " : "") + c.outputOrError);
        EXPECT_EQ(m.Stored(c.guid, c.path), c.stored) << c.change;
    }
    ExpectLine(m.runner, m.out, "element nope delete", false, "element takes a guid");
    EXPECT_EQ(TakeEvents(), "");  // figures change without telling the add-on
    EXPECT_TRUE(Host::CheckModel(m.host.Model()).empty());
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
        std::string select = "select";
        for (const auto& g : c.selected)
            select += " " + g;
        ExpectLine(m.runner, m.out, select, true, "*selection: ");
        TakeEvents();
        ExpectLine(m.runner, m.out, "element " + c.deleted + " delete", true, c.output);
        EXPECT_EQ(TakeEvents(), c.events) << c.deleted;
        for (const auto& g : c.gone)
            EXPECT_EQ(m.Stored(g, ""), "gone") << g;
        for (const auto& g : c.kept)
            EXPECT_NE(m.Stored(g, ""), "gone") << g;
        EXPECT_TRUE(Host::CheckModel(m.host.Model()).empty());
        EXPECT_EQ(m.host.Model()["selection"].size(), m.host.Selection().size());
        ExpectLine(m.runner, m.out, "element " + c.deleted + " delete", false, "no element " + c.deleted);
    }
}

}  // namespace
}  // namespace HostUser
