#include <functional>

#include "HostModelFixture.hpp"

namespace {
constexpr GSErrCode kInjected = static_cast<GSErrCode>(0x81061234u);

// An element operation called for one element; releases whatever it was handed.
struct ElementOp {
    const char* op;
    std::function<GSErrCode(const char* guid)> call;
};

const ElementOp kElementOps[] = {
    {"HostGetElement",
     [](const char* g) {
         API_Element e{};
         e.header.guid = Fx::G(g);
         return HostGetElement(&e);
     }},
    {"HostGetElementHeader",
     [](const char* g) {
         API_Elem_Head h{};
         h.guid = Fx::G(g);
         return HostGetElementHeader(&h);
     }},
    {"HostGetElementMemo",
     [](const char* g) {
         API_ElementMemo memo{};
         GSErrCode code = HostGetElementMemo(Fx::G(g), &memo, APIMemoMask_All);
         if (code == NoError)
             HostDisposeElementMemo(&memo);
         return code;
     }},
    {"HostGetElementQuantities",
     [](const char* g) {
         HostElementQuantity q{};
         API_QuantityPar par{};
         API_Quantities out{&q, nullptr};
         return HostGetElementQuantities(Fx::G(g), &par, &out, nullptr);
     }},
    {"HostGetElementInfoString",
     [](const char* g) {
         GS::UniString text;
         return HostGetElementInfoString(Fx::G(g), &text);
     }},
    {"HostGetElementPropertyDefinitions",
     [](const char* g) {
         GS::Array<API_PropertyDefinition> defs;
         return HostGetElementPropertyDefinitions(Fx::G(g), 0, &defs);
     }},
    {"HostGetElementProperty",
     [](const char* g) {
         API_Property p;
         return HostGetElementProperty(Fx::G(g), Fx::G(Fx::FireRating), &p);
     }},
    {"HostGetElementProperties",
     [](const char* g) {
         GS::Array<API_Property> props;
         return HostGetElementProperties(Fx::G(g), GS::Array<API_Guid>{Fx::G(Fx::FireRating)}, &props);
     }},
    {"HostGetContainingDatabase",
     [](const char* g) {
         HostDatabaseInfo info{};
         return HostGetContainingDatabase(Fx::G(g), &info);
     }},
};
}  // namespace

TEST_F(HostModelTest, ElementOperationFailsForTheNamedElementOnly)
{
    for (const ElementOp& op : kElementOps) {
        SCOPED_TRACE(op.op);
        host.ClearFailures();
        EXPECT_EQ(op.call(Fx::BasicWall), NoError);
        host.FailOperation(op.op, Fx::BasicWall, kInjected);
        EXPECT_EQ(op.call(Fx::BasicWall), kInjected);
        EXPECT_EQ(op.call(Fx::CompositeSlab), NoError);
        host.FailOperation(op.op, "", APIERR_GENERAL);
        EXPECT_EQ(op.call(Fx::CompositeSlab), APIERR_GENERAL);
    }
    ExpectNothingLive();
}

namespace {
struct PlainOp {
    const char* op;
    std::function<GSErrCode()> call;
};

const PlainOp kPlainOps[] = {
    {"ACAPI_Attribute_Get",
     [] {
         HostAttribute a{};
         a.header.typeID = HostAttr_BuildingMaterial;
         a.header.index = 1;
         return ACAPI_Attribute_Get(&a);
     }},
    {"HostGetAttributeDef",
     [] {
         HostAttributeDef def{};
         GSErrCode code = HostGetAttributeDef(HostAttr_Composite, 1, &def);
         if (code == NoError)
             HostDisposeAttributeDef(&def);
         return code;
     }},
    {"HostGetAttributeDefExt",
     [] {
         HostAttributeDefExt ext{};
         GSErrCode code = HostGetAttributeDefExt(HostAttr_Profile, 1, &ext);
         if (code == NoError)
             HostDisposeAttributeDefExt(&ext);
         return code;
     }},
    {"ACAPI_Environment_GetPen",
     [] {
         API_PenType pen{};
         pen.index = 1;
         return ACAPI_Environment_GetPen(&pen);
     }},
    {"HostGetCurrentDatabase",
     [] {
         HostDatabaseInfo info{};
         return HostGetCurrentDatabase(&info);
     }},
    {"HostChangeDatabase",
     [] {
         HostDatabaseInfo info{};
         info.typeID = APIWind_FloorPlanID;
         return HostChangeDatabase(&info);
     }},
    {"HostGetStorySettings",
     [] {
         HostStoryInfo info{};
         GSErrCode code = HostGetStorySettings(&info);
         BMKillHandle(reinterpret_cast<GSHandle*>(&info.data));
         return code;
     }},
    {"HostGetLibPartParams",
     [] {
         HostLibPartParams params{};
         GSErrCode code = HostGetLibPartParams(1, &params);
         if (code == NoError)
             HostDisposeLibPartParams(&params);
         return code;
     }},
};
}  // namespace

TEST_F(HostModelTest, OtherOperationsFailWhenTold)
{
    for (const PlainOp& op : kPlainOps) {
        SCOPED_TRACE(op.op);
        host.ClearFailures();
        EXPECT_EQ(op.call(), NoError);
        host.FailOperation(op.op, "", kInjected);
        EXPECT_EQ(op.call(), kInjected);
        host.FailOperation(op.op, Fx::BasicWall, kInjected);  // bound to an element: not these
    }
    host.ClearFailures();
    for (const PlainOp& op : kPlainOps)
        host.FailOperation(op.op, Fx::BasicWall, kInjected);
    for (const PlainOp& op : kPlainOps)
        EXPECT_EQ(op.call(), NoError) << op.op;
    ExpectNothingLive();
}

TEST_F(HostModelTest, FailedReadsHandNothingOutAndFailedSwitchesAreLogged)
{
    host.FailOperation("HostGetElementMemo", Fx::Window);
    host.FailOperation("HostGetAttributeDef");
    host.FailOperation("HostGetAttributeDefExt");
    host.FailOperation("HostGetLibPartParams");
    host.FailOperation("HostChangeDatabase");
    API_ElementMemo memo{};
    EXPECT_EQ(HostGetElementMemo(Fx::G(Fx::Window), &memo, APIMemoMask_All), APIERR_GENERAL);
    EXPECT_EQ(memo.params, nullptr);
    HostAttributeDef def{};
    EXPECT_EQ(HostGetAttributeDef(HostAttr_Composite, 1, &def), APIERR_GENERAL);
    HostAttributeDefExt ext{};
    EXPECT_EQ(HostGetAttributeDefExt(HostAttr_Profile, 1, &ext), APIERR_GENERAL);
    HostLibPartParams params{};
    EXPECT_EQ(HostGetLibPartParams(1, &params), APIERR_GENERAL);
    const Host::ElementOpsCounters& n = Host::ElementCounters();
    EXPECT_EQ(n.memosHandedOut + n.attributeDefsHandedOut + n.attributeDefExtsHandedOut + n.libPartParamsHandedOut, 0);

    HostDatabaseInfo model{};
    model.typeID = APIWind_3DModelID;
    EXPECT_EQ(HostChangeDatabase(&model), APIERR_GENERAL);
    ASSERT_EQ(Host::DatabaseSwitches().size(), 1u);
    EXPECT_EQ(Host::DatabaseSwitches()[0].result, APIERR_GENERAL);
    EXPECT_EQ(Host::DatabaseSwitches()[0].to.typeID, APIWind_FloorPlanID);
    ExpectNothingLive();
}

TEST_F(HostModelTest, ValidityCheckCanBeToldToRefuse)
{
    API_PropertyDefinition def;
    def.guid = Fx::G(Fx::LoadReal);
    def.valueType = API_PropertyRealValueType;
    API_Variant probe;
    probe.type = API_PropertyRealValueType;
    EXPECT_TRUE(HostIsValidPropertyValue(probe, def));
    host.FailOperation("HostIsValidPropertyValue", Fx::LoadReal);
    EXPECT_FALSE(HostIsValidPropertyValue(probe, def));
    def.guid = Fx::G(Fx::Count);
    EXPECT_TRUE(HostIsValidPropertyValue(probe, def));
}

TEST_F(HostModelTest, EveryElementCallAnswersMissingEntryWithoutATable)
{
    const std::vector<std::function<GSErrCode()>> calls = {
        [] { API_Element e{}; return HostGetElement(&e); },
        [] { API_Elem_Head h{}; return HostGetElementHeader(&h); },
        [] { API_ElementMemo m{}; return HostGetElementMemo(Fx::G(Fx::Window), &m, APIMemoMask_All); },
        [] { API_ElementMemo m{}; return HostDisposeElementMemo(&m); },
        [] { API_Quantities q{}; return HostGetElementQuantities(Fx::G(Fx::BasicWall), nullptr, &q, nullptr); },
        [] { GS::UniString s; return HostGetElementInfoString(Fx::G(Fx::BasicWall), &s); },
        [] { GS::Array<API_PropertyDefinition> d; return HostGetElementPropertyDefinitions(Fx::G(Fx::BasicWall), 0, &d); },
        [] { API_Property p; return HostGetElementProperty(Fx::G(Fx::BasicWall), Fx::G(Fx::LoadReal), &p); },
        [] { GS::Array<API_Property> p; return HostGetElementProperties(Fx::G(Fx::BasicWall), {}, &p); },
        [] { HostAttribute a{}; return ACAPI_Attribute_Get(&a); },
        [] { HostAttributeDef d{}; return HostGetAttributeDef(HostAttr_Composite, 1, &d); },
        [] { HostAttributeDef d{}; return HostDisposeAttributeDef(&d); },
        [] { HostAttributeDefExt d{}; return HostGetAttributeDefExt(HostAttr_Profile, 1, &d); },
        [] { HostAttributeDefExt d{}; return HostDisposeAttributeDefExt(&d); },
        [] { API_PenType p{}; return ACAPI_Environment_GetPen(&p); },
        [] { HostDatabaseInfo i{}; return HostGetCurrentDatabase(&i); },
        [] { HostDatabaseInfo i{}; return HostChangeDatabase(&i); },
        [] { HostDatabaseInfo i{}; return HostGetContainingDatabase(Fx::G(Fx::BasicWall), &i); },
        [] { HostStoryInfo s{}; return HostGetStorySettings(&s); },
        [] { HostLibPartParams p{}; return HostGetLibPartParams(1, &p); },
        [] { HostLibPartParams p{}; return HostDisposeLibPartParams(&p); },
    };
    // No table at all, then a table whose element slots are empty.
    API_FunctionTable empty{};
    for (int round = 0; round < 2; ++round) {
        if (round == 0)
            CalvoraClearHostTable();
        else
            CalvoraSetHostTable(&empty);
        for (std::size_t i = 0; i < calls.size(); ++i)
            EXPECT_EQ(calls[i](), APIERR_MISSINGENTRY) << "call " << i << " round " << round;
        API_Variant v;
        EXPECT_FALSE(HostIsValidPropertyValue(v, API_PropertyDefinition()));
    }
    EXPECT_EQ(Host::ElementCounters().memosReleased, 0);
    ExpectNothingLive();
}
