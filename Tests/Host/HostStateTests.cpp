// Databases, stories and operations told to fail.
#include <stdexcept>
#include <utility>

#include "HostApi/HostHandles.hpp"
#include "HostModelFixture.hpp"

namespace {
HostDatabaseInfo Current()
{
    HostDatabaseInfo info{};
    EXPECT_EQ(HostGetCurrentDatabase(&info), NoError);
    return info;
}
}  // namespace

TEST_F(HostModelTest, DatabasesAndStories)
{
    EXPECT_EQ(Str(Current().name, Current().databaseUnId == Fx::G(Fx::FloorPlanDb)), "Floor Plan 1");
    const struct {
        GS::Int32 typeID;
        const char* guid;
        GSErrCode code;
        const char* landsIn;
    } cases[] = {
        {APIWind_3DModelID, nullptr, NoError, "3D Model"},
        {APIWind_SectionID, Fx::SectionB, NoError, "Section B-B"},
        {APIWind_SectionID, nullptr, NoError, "Section A-A"},                 // the first of the type
        {0, Fx::SectionA, NoError, "Section A-A"},                            // the guid alone
        {APIWind_3DModelID, Fx::SectionA, APIERR_BADDATABASE, "Floor Plan"},  // a guid of another type
        {APIWind_DetailID, nullptr, APIERR_BADDATABASE, "Floor Plan"},        // a type the model lacks
        {APIWind_SectionID, Fx::Missing, APIERR_BADDATABASE, "Floor Plan"},
        {0, nullptr, APIERR_BADDATABASE, "Floor Plan"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Str(c.typeID, c.landsIn));
        ASSERT_TRUE(Host::SetCurrentDatabase(GS::Guid(Fx::FloorPlanDb)));
        Host::ClearDatabaseSwitches();
        HostDatabaseInfo info{};
        EXPECT_EQ(ChangeDatabase(c.typeID, c.guid, &info), c.code);
        EXPECT_STREQ(Current().name, c.landsIn);
        EXPECT_STREQ(c.code == NoError ? info.name : c.landsIn, c.landsIn);  // the request is completed
        ASSERT_EQ(Host::DatabaseSwitches().size(), 1u);                      // failed attempts are logged too
        const Host::DatabaseSwitch& s = Host::DatabaseSwitches()[0];
        EXPECT_EQ(Str(s.from.name, s.requested.typeID, s.to.name, s.result), Str("Floor Plan", c.typeID, c.landsIn, c.code));
    }

    // The host's own switch is not logged, and the project keeps it.
    ASSERT_TRUE(Host::SetCurrentDatabase(GS::Guid(Fx::SectionB)));
    EXPECT_FALSE(Host::SetCurrentDatabase(GS::Guid(Fx::Missing)));
    EXPECT_EQ(Host::DatabaseSwitches().size(), 1u);
    host.SetProject(Host::Json(host.Project()));
    EXPECT_STREQ(Current().name, "Section B-B");

    // Stories, lowest first.
    HostStoryInfo stories{};
    ASSERT_EQ(HostGetStorySettings(&stories), NoError);
    ASSERT_EQ(HandleSize(stories.data), 3 * sizeof(HostStoryType));
    const HostStoryType* s = *stories.data;
    EXPECT_EQ(Str(stories.firstStory, stories.lastStory, s[0].index, s[0].name, s[0].level, s[1].index, s[1].name,
                  s[2].index, s[2].name),
              "-1 1 -1 Basement -3 0 Ground Floor 1 First Floor");
    BMKillHandle(reinterpret_cast<GSHandle*>(&stories.data));

    // A model without databases has a floor plan and a 3D model.
    host.SetProject(Host::Json::parse(R"({"model": {"elements": []}})"));
    EXPECT_EQ(Current().typeID, APIWind_FloorPlanID);
    EXPECT_EQ(ChangeDatabase(APIWind_3DModelID), NoError);
    EXPECT_STREQ(Current().name, "3D Model");
    EXPECT_EQ(ChangeDatabase(APIWind_SectionID), APIERR_BADDATABASE);
}

namespace {
constexpr GSErrCode Injected = static_cast<GSErrCode>(0x81061234u);

// Releases what a successful read handed out.
template <typename T>
GSErrCode Released(GSErrCode code, T* handedOut, GSErrCode (*release)(T*))
{
    return code == NoError ? release(handedOut) : code;
}

// Each operation the host can be told to fail, once, releasing whatever it hands out; element operations
// on the element given.
const struct {
    const char* op;
    bool perElement;
    GSErrCode (*call)(const char* guid);
} ops[] = {
    {"HostGetModuleData", false, [](const char*) {
         API_ModulData stored{};
         HostStoreModuleData(&stored, "Probe");
         API_ModulData read{};
         const GSErrCode code = HostGetModuleData(&read, "Probe");
         BMKillHandle(&read.dataHdl);
         return code; }},
    {"HostStoreModuleData", false, [](const char*) { API_ModulData d{}; return HostStoreModuleData(&d, "Probe"); }},
    {"HostGetAutoTexts", false, [](const char*) { GS::Array<GS::ArrayFB<GS::UniString, 3>> t; return HostGetAutoTexts(&t, 0); }},
    {"HostGetSelection", false, [](const char* g) {
         API_Neig neig{};
         neig.guid = Fx::G(g);
         HostSelectElements(GS::Array<API_Neig>{neig}, false);
         return HostGetSelection(nullptr, nullptr, false); }},
    {"HostSelectElements", false, [](const char*) { return HostSelectElements(GS::Array<API_Neig>{}, false); }},
    {"HostZoomToElements", false, [](const char* g) { return HostZoomToElements(GS::Array<API_Guid>{Fx::G(g)}); }},
    {"HostGetElement", true, [](const char* g) { API_Element e{}; e.header.guid = Fx::G(g); return HostGetElement(&e); }},
    {"HostGetElementHeader", true, [](const char* g) { API_Elem_Head h{}; h.guid = Fx::G(g); return HostGetElementHeader(&h); }},
    {"HostGetElementMemo", true, [](const char* g) {
         API_ElementMemo m{};
         return Released(HostGetElementMemo(Fx::G(g), &m, APIMemoMask_All), &m, HostDisposeElementMemo); }},
    {"HostGetElementQuantities", true, [](const char* g) {
         HostElementQuantity q{};
         API_Quantities out{&q, nullptr};
         return HostGetElementQuantities(Fx::G(g), nullptr, &out, nullptr); }},
    {"HostGetElementInfoString", true, [](const char* g) { GS::UniString s; return HostGetElementInfoString(Fx::G(g), &s); }},
    {"HostGetElementPropertyDefinitions", true, [](const char* g) {
         GS::Array<API_PropertyDefinition> d;
         return HostGetElementPropertyDefinitions(Fx::G(g), 0, &d); }},
    {"HostGetElementProperty", true, [](const char* g) { API_Property p; return HostGetElementProperty(Fx::G(g), Fx::G(Fx::FireRating), &p); }},
    {"HostGetElementProperties", true, [](const char* g) {
         GS::Array<API_Property> p;
         return HostGetElementProperties(Fx::G(g), GS::Array<API_Guid>{Fx::G(Fx::FireRating)}, &p); }},
    {"HostIsValidPropertyValue", false, [](const char*) {  // bound to a definition, not an element
         API_PropertyDefinition d;
         d.guid = Fx::G(Fx::LoadReal);
         d.valueType = API_PropertyRealValueType;
         API_Variant v;
         v.type = API_PropertyRealValueType;
         return HostIsValidPropertyValue(v, d) ? NoError : APIERR_GENERAL; }},
    {"HostGetAttribute", false, [](const char*) {
         HostAttribute a{};
         a.header = {HostAttr_BuildingMaterial, 1, {}};
         return HostGetAttribute(&a); }},
    {"HostGetAttributeDef", false, [](const char*) {
         HostAttributeDef d{};
         return Released(HostGetAttributeDef(HostAttr_Composite, 1, &d), &d, HostDisposeAttributeDef); }},
    {"HostGetAttributeDefExt", false, [](const char*) {
         HostAttributeDefExt d{};
         return Released(HostGetAttributeDefExt(HostAttr_Profile, 1, &d), &d, HostDisposeAttributeDefExt); }},
    {"HostGetPen", false, [](const char*) { API_PenType p{}; p.index = 1; return HostGetPen(&p); }},
    {"HostGetCurrentDatabase", false, [](const char*) { HostDatabaseInfo i{}; return HostGetCurrentDatabase(&i); }},
    {"HostChangeDatabase", false, [](const char*) { return ChangeDatabase(APIWind_FloorPlanID); }},
    {"HostGetContainingDatabase", true, [](const char* g) { HostDatabaseInfo i{}; return HostGetContainingDatabase(Fx::G(g), &i); }},
    {"HostGetStorySettings", false, [](const char*) {
         HostStoryInfo s{};
         const GSErrCode code = HostGetStorySettings(&s);
         BMKillHandle(reinterpret_cast<GSHandle*>(&s.data));
         return code; }},
    {"HostGetLibPartParams", false, [](const char*) {
         HostLibPartParams p{};
         return Released(HostGetLibPartParams(1, &p), &p, HostDisposeLibPartParams); }},
};
}  // namespace

TEST_F(HostModelTest, OperationsFailWhenToldForTheirElementOnlyAndHandNothingOut)
{
    // A misspelt name fails nothing, so it is refused with the names the host knows: exactly these.
    std::string known;
    for (const auto& op : ops)
        known += (known.empty() ? "" : ", ") + std::string(op.op);
    try {
        host.FailOperation("HostGetElemnt");
        ADD_FAILURE() << "a misspelt operation was accepted";
    } catch (const std::invalid_argument& e) {
        EXPECT_EQ(std::string(e.what()), "unknown operation 'HostGetElemnt'; the known operations are " + known);
    }
    for (const auto& op : ops) {
        SCOPED_TRACE(op.op);
        host.ClearFailures();
        EXPECT_EQ(op.call(Fx::BasicWall), NoError);
        host.FailOperation(op.op, Fx::BasicWall, Injected);
        // Bound to an element: only that element's calls fail, and no call without an element.
        EXPECT_EQ(op.call(Fx::BasicWall), op.perElement ? Injected : NoError);
        EXPECT_EQ(op.call(Fx::CompositeSlab), NoError);
        host.FailOperation(op.op, "", APIERR_GENERAL);
        EXPECT_EQ(op.call(Fx::CompositeSlab), APIERR_GENERAL);
    }
    ASSERT_FALSE(Host::DatabaseSwitches().empty());
    EXPECT_EQ(Host::DatabaseSwitches().back().result, APIERR_GENERAL);  // a failed switch is logged
    ExpectNothingLive();

    // Reads refused for their arguments hand nothing out either.
    HostAttributeDef def{};
    HostAttributeDefExt ext{};
    EXPECT_EQ(HostGetAttributeDef(HostAttr_Composite, 9, &def), APIERR_BADINDEX);
    EXPECT_EQ(HostGetAttributeDef(HostAttr_BuildingMaterial, 1, &def), APIERR_BADPARS);
    EXPECT_EQ(HostGetAttributeDefExt(HostAttr_Profile, 9, &ext), APIERR_BADINDEX);
    EXPECT_EQ(HostGetAttributeDefExt(HostAttr_Composite, 1, &ext), APIERR_BADPARS);
    EXPECT_TRUE(def.skins == nullptr && ext.profile_vectorImageItems == nullptr);
}

// The holders give back what a read handed out exactly once: when an exception leaves their scope,
// also after a move; a failed read gives nothing back. The fixture checks that everything came back.
TEST_F(HostModelTest, HoldersGiveBackWhatTheyTookOnce)
{
    HostStoryInfo stories{};
    ASSERT_EQ(HostGetStorySettings(&stories), NoError);
    const auto takeAndLeave = [&] {
        HeldMemo memo(Fx::G(Fx::Window), APIMemoMask_AddPars);
        HeldAttributeDef def(HostAttr_Composite, 1);
        HeldAttributeDef other(HostAttr_Composite, 1);
        const HeldAttributeDefExt ext(HostAttr_Profile, 1);
        const HeldLibPartParams params(1);
        HeldHandle<HostStoryType> storyList(stories.data);
        EXPECT_TRUE(memo && def && other && ext && params && storyList.Get() != nullptr);
        const HeldMemo movedMemo(std::move(memo));
        other = std::move(def);
        const HeldHandle<HostStoryType> movedList(std::move(storyList));
        EXPECT_FALSE(memo || !movedMemo || storyList.Get() != nullptr);
        throw std::runtime_error("left early");
    };
    EXPECT_THROW(takeAndLeave(), std::runtime_error);
    EXPECT_FALSE(HeldAttributeDefExt(HostAttr_Profile, 9));
    EXPECT_FALSE(HeldMemo(Fx::G(Fx::Missing), APIMemoMask_All));
}
