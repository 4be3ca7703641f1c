// Attributes, profiles with their vector images, and properties.
#include "HostModelFixture.hpp"

TEST_F(HostModelTest, AttributesByTypeAndIndex)
{
    using A = const HostAttribute&;
#define F(...) [](A a) { return Str(__VA_ARGS__); }
    const struct {
        GS::Int32 typeID, index;
        GSErrCode code;
        const char* name;
        std::string (*fields)(A);
        const char* expected;
    } cases[] = {
        {HostAttr_BuildingMaterial, 1, NoError, "Concrete",
         F(a.buildingMaterial.cutFill, a.buildingMaterial.cutFillPen, a.buildingMaterial.cutFillBackgroundPen,
           a.buildingMaterial.surface, a.buildingMaterial.showSurfaceFrame),
         "1 3 0 1 1"},
        {HostAttr_Fill, 1, NoError, "Concrete Fill", F(a.fill.subType == HostFill_Vector, +a.fill.bitPattern[1]), "1 129"},
        // The texture name is a handle handed over to the caller.
        {HostAttr_Surface, 1, NoError, "Concrete Surface", F(a.surface.surfaceRGB.f_green, *a.surface.textureName),
         "0.25 concrete.jpg"},
        {HostAttr_Surface, 2, NoError, "Brick Surface",
         F(a.surface.surfaceRGB.f_red, a.surface.surfaceRGB.f_blue, a.surface.textureName == nullptr), "0.8 0.2 1"},
        {HostAttr_BuildingMaterial, 99, APIERR_BADINDEX, "", F(a.header.index), "99"},
        {HostAttr_Composite, 0, APIERR_BADINDEX, "", F(a.header.index), "0"},
        {7, 1, APIERR_BADINDEX, "", F(a.header.typeID), "7"},  // a type without attributes here
    };
#undef F
    for (const auto& c : cases) {
        SCOPED_TRACE(Str(c.typeID, c.index));
        HostAttribute attribute{};
        attribute.header.typeID = c.typeID;
        attribute.header.index = c.index;
        ASSERT_EQ(HostGetAttribute(&attribute), c.code);
        EXPECT_STREQ(attribute.header.name, c.name);
        EXPECT_EQ(c.fields(attribute), c.expected);
        if (c.typeID == HostAttr_Surface && attribute.surface.textureName != nullptr)
            BMKillHandle(&attribute.surface.textureName);
    }
}

TEST_F(HostModelTest, ProfileImageHoldsDimensionsBoxesAndHatches)
{
    HostAttributeDefExt ext{};
    ASSERT_EQ(HostGetAttributeDefExt(HostAttr_Profile, 1, &ext), NoError);
    ASSERT_NE(ext.profile_vectorImageItems, nullptr);
    const ProfileVectorImage& image = *ext.profile_vectorImageItems;
    ProfileVectorImageOperations ops;
    double w = 0, h = 0;
    EXPECT_TRUE(ops.CalculateBuildingDimensions(image, w, h));
    API_Box whole{1, 1, 1, 1}, core{1, 1, 1, 1};
    EXPECT_TRUE(ops.CalculateBounds(image, &whole, &core, nullptr));
    EXPECT_EQ(Str(w, h, whole.xMax - whole.xMin, whole.yMax - whole.yMin, core.xMin, core.xMax - core.xMin),
              "0.2 0.4 0.2 0.4 0.05 0.1");

    // Hatches as polygons, the hole left out; one is of no building material.
    struct Collect : ProfileVectorImageVisitor {
        std::string areas;
        void VisitHatchObject(const HatchObject& hatch) override
        {
            Geometry::MultiPolygon2D polygons;
            double area = 0.0;
            for (const auto& p : hatch.ToPolygon2D(polygons) ? polygons : Geometry::MultiPolygon2D())
                area += Geometry::PolygonArea(p);
            areas += Str(hatch.IsBuildingMaterialHatch(), hatch.GetBuildMatIdx().ToGSAttributeIndex_Deprecated(), area) + ";";
        }
    } visitor;
    ops.EnumerateHatchObjects(image, visitor);
    EXPECT_EQ(visitor.areas, "1 4 0.08;0 0 0.5;1 1 3;");
    EXPECT_EQ(Host::ElementCounters().liveProfileImages, 1);
    EXPECT_EQ(HostDisposeAttributeDefExt(&ext), NoError);
    EXPECT_EQ(ext.profile_vectorImageItems, nullptr);

    // A profile without an image reads and must still be released.
    ASSERT_EQ(HostGetAttributeDefExt(HostAttr_Profile, 2, &ext), NoError);
    EXPECT_EQ(ext.profile_vectorImageItems, nullptr);
    EXPECT_FALSE(Host::ElementCounters().Balanced());
    HostDisposeAttributeDefExt(&ext);
}

TEST_F(HostModelTest, PropertyDefinitionsAndValues)
{
    const struct {
        const char* element;
        const char* definition;
        GSErrCode code;
        const char* expected;  // value type, value, whether it is the default
    } cases[] = {
        {Fx::BasicWall, Fx::LoadReal, NoError, "2 12.5 0"},
        {Fx::BasicWall, Fx::LoadInteger, NoError, "1 3 0"},
        {Fx::BasicWall, Fx::FireRating, NoError, "3 REI 60 1"},
        {Fx::BasicWall, Fx::Count, NoError, "1 1 1"},
        {Fx::CompositeSlab, Fx::SlabOnly, NoError, "2 2.5 0"},
        {Fx::BasicWall, Fx::SlabOnly, APIERR_BADPROPERTY, "-99"},  // a definition not for walls
        {Fx::BasicColumn, Fx::LoadReal, APIERR_BADPROPERTY, "-99"},  // no value and no default
        {Fx::BasicWall, Fx::Missing, APIERR_BADPROPERTY, "-99"},
        {Fx::Missing, Fx::LoadReal, APIERR_BADID, "-99"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(Str(c.element, c.definition));
        API_Property p;
        p.value.intValue = -99;
        ASSERT_EQ(HostGetElementProperty(Fx::G(c.element), Fx::G(c.definition), &p), c.code);
        if (c.code != NoError) {
            EXPECT_EQ(Str(p.value.intValue), c.expected);  // untouched
            continue;
        }
        const API_VariantType type = p.value.type;
        EXPECT_TRUE(p.definition.guid == Fx::G(c.definition));
        EXPECT_EQ(p.definition.valueType, type);
        EXPECT_EQ(type == API_PropertyRealValueType      ? Str(type, p.value.doubleValue, p.isDefault)
                  : type == API_PropertyIntegerValueType ? Str(type, p.value.intValue, p.isDefault)
                                                         : Str(type, p.value.uniStringValue.ToUtf8(), p.isDefault),
                  c.expected);
    }

    // The plural read gives the definitions that have a value, in the order asked.
    GS::Array<API_Property> list;
    const GS::Array<API_Guid> asked{Fx::G(Fx::Missing), Fx::G(Fx::Count), Fx::G(Fx::SlabOnly), Fx::G(Fx::LoadReal)};
    ASSERT_EQ(HostGetElementProperties(Fx::G(Fx::BasicWall), asked, &list), NoError);
    ASSERT_EQ(list.GetSize(), 2u);
    EXPECT_EQ(Str(list[0].definition.guid == Fx::G(Fx::Count), list[0].isDefault, list[1].value.doubleValue), "1 1 12.5");
}
