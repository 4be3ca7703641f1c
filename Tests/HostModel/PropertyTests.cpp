#include <vector>

#include "HostModelFixture.hpp"

namespace {
std::vector<std::string> DefinitionNames(const char* element)
{
    GS::Array<API_PropertyDefinition> definitions;
    EXPECT_EQ(HostGetElementPropertyDefinitions(Fx::G(element), API_PropertyDefinitionFilter_All, &definitions),
              NoError);
    std::vector<std::string> names;
    for (const auto& d : definitions)
        names.push_back(d.name.ToUtf8() + "/" + std::to_string(d.valueType));
    return names;
}
}  // namespace

TEST_F(HostModelTest, DefinitionsFollowTheModelOrderAndTheirTypes)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(DefinitionNames(Fx::BasicWall), (V{"Fire Rating/3", "Load/2", "Count/1", "Load/1"}));
    EXPECT_EQ(DefinitionNames(Fx::CompositeSlab), (V{"Fire Rating/3", "Load/2", "Count/1", "Slab Only/2"}));
    EXPECT_EQ(DefinitionNames(Fx::BasicColumn), (V{"Fire Rating/3", "Load/2", "Count/1"}));

    GS::Array<API_PropertyDefinition> definitions;
    definitions.Push(API_PropertyDefinition());
    ASSERT_EQ(HostGetElementPropertyDefinitions(Fx::G(Fx::BasicWall), 0, &definitions), NoError);
    ASSERT_EQ(definitions.GetSize(), 4u);  // replaced, not appended
    EXPECT_TRUE(definitions[1].guid == Fx::G(Fx::LoadReal));
    EXPECT_EQ(definitions[1].description.ToUtf8(), "Design load (kN)");
    EXPECT_EQ(HostGetElementPropertyDefinitions(Fx::G(Fx::Missing), 0, &definitions), APIERR_BADID);
    EXPECT_EQ(HostGetElementPropertyDefinitions(Fx::G(Fx::BasicWall), 7, &definitions), APIERR_BADPARS);
}

namespace {
struct PropertyCase {
    const char* name;
    const char* element;
    const char* definition;
    GSErrCode code;
    API_VariantType type;
    double number;  // real or integer value
    const char* text;
    bool isDefault;
};
const PropertyCase kPropertyCases[] = {
    {"own real value", Fx::BasicWall, Fx::LoadReal, NoError, API_PropertyRealValueType, 12.5, "", false},
    {"own integer value", Fx::BasicWall, Fx::LoadInteger, NoError, API_PropertyIntegerValueType, 3, "", false},
    {"default text", Fx::BasicWall, Fx::FireRating, NoError, API_PropertyStringValueType, 0, "REI 60", true},
    {"default integer", Fx::BasicWall, Fx::Count, NoError, API_PropertyIntegerValueType, 1, "", true},
    {"own value of a slab-only definition", Fx::CompositeSlab, Fx::SlabOnly, NoError, API_PropertyRealValueType,
     2.5, "", false},
    {"definition not for walls", Fx::BasicWall, Fx::SlabOnly, APIERR_BADPROPERTY, API_PropertyUndefinedValueType, 0,
     "", false},
    {"no value and no default", Fx::BasicColumn, Fx::LoadReal, APIERR_BADPROPERTY, API_PropertyUndefinedValueType, 0,
     "", false},
    {"unknown definition", Fx::BasicWall, Fx::Missing, APIERR_BADPROPERTY, API_PropertyUndefinedValueType, 0, "",
     false},
    {"unknown element", Fx::Missing, Fx::LoadReal, APIERR_BADID, API_PropertyUndefinedValueType, 0, "", false},
};
}  // namespace

TEST_F(HostModelTest, PropertyValues)
{
    for (const PropertyCase& c : kPropertyCases) {
        SCOPED_TRACE(c.name);
        API_Property property;
        property.value.intValue = -99;
        ASSERT_EQ(HostGetElementProperty(Fx::G(c.element), Fx::G(c.definition), &property), c.code);
        if (c.code != NoError) {
            EXPECT_EQ(property.value.intValue, -99);  // untouched
            continue;
        }
        EXPECT_TRUE(property.definition.guid == Fx::G(c.definition));
        EXPECT_EQ(property.value.type, c.type);
        EXPECT_EQ(property.definition.valueType, c.type);
        EXPECT_EQ(property.isDefault, c.isDefault);
        if (c.type == API_PropertyRealValueType) {
            EXPECT_DOUBLE_EQ(property.value.doubleValue, c.number);
        }
        if (c.type == API_PropertyIntegerValueType) {
            EXPECT_EQ(property.value.intValue, static_cast<GS::Int32>(c.number));
        }
        if (c.type == API_PropertyStringValueType) {
            EXPECT_EQ(property.value.uniStringValue.ToUtf8(), c.text);
        }
    }
}

TEST_F(HostModelTest, PropertiesListOnlyDefinitionsWithAValueInTheirOrder)
{
    GS::Array<API_Guid> all;
    for (const char* d : {Fx::SlabOnly, Fx::LoadInteger, Fx::FireRating, Fx::LoadReal, Fx::Count, Fx::Missing})
        all.Push(Fx::G(d));
    GS::Array<API_Property> properties;
    ASSERT_EQ(HostGetElementProperties(Fx::G(Fx::BasicWall), all, &properties), NoError);
    ASSERT_EQ(properties.GetSize(), 4u);
    EXPECT_TRUE(properties[0].definition.guid == Fx::G(Fx::LoadInteger));
    EXPECT_TRUE(properties[1].definition.guid == Fx::G(Fx::FireRating));
    EXPECT_TRUE(properties[2].definition.guid == Fx::G(Fx::LoadReal));
    EXPECT_TRUE(properties[3].definition.guid == Fx::G(Fx::Count));

    ASSERT_EQ(HostGetElementProperties(Fx::G(Fx::BasicColumn), all, &properties), NoError);
    ASSERT_EQ(properties.GetSize(), 2u);
    EXPECT_EQ(properties[0].definition.name.ToUtf8(), "Fire Rating");
    EXPECT_EQ(properties[1].value.intValue, 1);
    EXPECT_EQ(HostGetElementProperties(Fx::G(Fx::Missing), all, &properties), APIERR_BADID);
}

TEST_F(HostModelTest, ValidValueIsOneOfTheDefinitionsType)
{
    API_PropertyDefinition real, integer, text, undefined;
    real.valueType = API_PropertyRealValueType;
    integer.valueType = API_PropertyIntegerValueType;
    text.valueType = API_PropertyStringValueType;
    API_Variant realProbe, intProbe, undefinedProbe;
    realProbe.type = API_PropertyRealValueType;
    intProbe.type = API_PropertyIntegerValueType;
    const struct {
        const API_Variant& value;
        const API_PropertyDefinition& definition;
        bool valid;
    } cases[] = {{realProbe, real, true},          {intProbe, real, false},  {intProbe, integer, true},
                 {realProbe, integer, false},      {realProbe, text, false}, {intProbe, text, false},
                 {undefinedProbe, undefined, false}};
    for (const auto& c : cases)
        EXPECT_EQ(HostIsValidPropertyValue(c.value, c.definition), c.valid);
}
