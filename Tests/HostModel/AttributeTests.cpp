#include <functional>

#include "HostModelFixture.hpp"

namespace {
struct AttributeCase {
    const char* name;
    GS::Int32 typeID;
    GS::Int32 index;
    GSErrCode code;
    const char* attributeName;
    std::function<void(const HostAttribute&)> check;
};

const AttributeCase kAttributeCases[] = {
    {"composite", HostAttr_Composite, 1, NoError, "Brick Wall 30",
     [](const HostAttribute& a) { EXPECT_EQ(a.composite.nComps, 3); }},
    {"building material with frame", HostAttr_BuildingMaterial, 1, NoError, "Concrete",
     [](const HostAttribute& a) {
         EXPECT_EQ(a.buildingMaterial.cutFill, 1);
         EXPECT_EQ(a.buildingMaterial.cutFillPen, 3);
         EXPECT_EQ(a.buildingMaterial.cutFillBackgroundPen, 0);
         EXPECT_EQ(a.buildingMaterial.surface, 1);
         EXPECT_TRUE(a.buildingMaterial.showSurfaceFrame);
     }},
    {"building material without frame", HostAttr_BuildingMaterial, 2, NoError, "Brick",
     [](const HostAttribute& a) {
         EXPECT_EQ(a.buildingMaterial.cutFillBackgroundPen, 3);
         EXPECT_FALSE(a.buildingMaterial.showSurfaceFrame);
     }},
    {"pattern fill", HostAttr_Fill, 1, NoError, "Concrete Fill",
     [](const HostAttribute& a) {
         EXPECT_EQ(a.fill.subType, HostFill_Vector);
         const GS::UInt8 expected[8] = {255, 129, 129, 129, 129, 129, 129, 255};
         EXPECT_EQ(std::memcmp(a.fill.bitPattern, expected, 8), 0);
     }},
    {"gradient fill", HostAttr_Fill, 2, NoError, "Gradient",
     [](const HostAttribute& a) { EXPECT_EQ(a.fill.subType, HostFill_LinearGradient); }},
    {"surface without texture", HostAttr_Surface, 2, NoError, "Brick Surface",
     [](const HostAttribute& a) {
         EXPECT_DOUBLE_EQ(a.surface.surfaceRGB.f_red, 0.8);
         EXPECT_DOUBLE_EQ(a.surface.surfaceRGB.f_blue, 0.2);
         EXPECT_EQ(a.surface.textureName, nullptr);
     }},
    {"profile", HostAttr_Profile, 1, NoError, "I-Beam", [](const HostAttribute&) {}},
    {"missing index", HostAttr_BuildingMaterial, 99, APIERR_BADINDEX, "", [](const HostAttribute&) {}},
    {"index 0", HostAttr_Composite, 0, APIERR_BADINDEX, "", [](const HostAttribute&) {}},
    {"type without attributes here", 7, 1, APIERR_BADINDEX, "", [](const HostAttribute&) {}},
};
}  // namespace

TEST_F(HostModelTest, AttributesByTypeAndIndex)
{
    for (const AttributeCase& c : kAttributeCases) {
        SCOPED_TRACE(c.name);
        HostAttribute attribute{};
        attribute.header.typeID = c.typeID;
        attribute.header.index = c.index;
        ASSERT_EQ(ACAPI_Attribute_Get(&attribute), c.code);
        EXPECT_EQ(attribute.header.typeID, c.typeID);
        EXPECT_EQ(attribute.header.index, c.index);
        EXPECT_STREQ(attribute.header.name, c.attributeName);
        c.check(attribute);
    }
    ExpectNothingLive();
}

TEST_F(HostModelTest, SurfaceHandsOverItsTextureName)
{
    HostAttribute surface{};
    surface.header.typeID = HostAttr_Surface;
    surface.header.index = 1;
    ASSERT_EQ(ACAPI_Attribute_Get(&surface), NoError);
    EXPECT_DOUBLE_EQ(surface.surface.surfaceRGB.f_green, 0.25);
    ASSERT_NE(surface.surface.textureName, nullptr);
    EXPECT_STREQ(*surface.surface.textureName, "concrete.jpg");
    EXPECT_EQ(GS::LiveHandleCount(), handlesBefore + 1);
    BMKillHandle(&surface.surface.textureName);
    ExpectNothingLive();
}

TEST_F(HostModelTest, CompositeDefinitionHoldsItsSkins)
{
    HostAttributeDef def{};
    ASSERT_EQ(HostGetAttributeDef(HostAttr_Composite, 2, &def), NoError);
    ASSERT_NE(def.skins, nullptr);
    ASSERT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(def.skins)),
              static_cast<GSSize>(3 * sizeof(HostCompositeSkin)));
    const HostCompositeSkin* s = *def.skins;
    const HostCompositeSkin expected[3] = {{1, APISkin_Core, 0.1}, {3, 0, 0.2}, {1, APISkin_Core, 0.05}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(s[i].buildingMaterial, expected[i].buildingMaterial) << i;
        EXPECT_EQ(s[i].flags, expected[i].flags) << i;
        EXPECT_DOUBLE_EQ(s[i].thickness, expected[i].thickness) << i;
    }
    EXPECT_EQ(Host::ElementCounters().attributeDefsHandedOut, 1);
    EXPECT_FALSE(Host::ElementCounters().Balanced());
    EXPECT_EQ(HostDisposeAttributeDef(&def), NoError);
    EXPECT_EQ(def.skins, nullptr);
    EXPECT_EQ(Host::ElementCounters().attributeDefsReleased, 1);
    ExpectNothingLive();
}

TEST_F(HostModelTest, DefinitionReadsThatFailHandNothingOut)
{
    HostAttributeDef def{};
    EXPECT_EQ(HostGetAttributeDef(HostAttr_Composite, 9, &def), APIERR_BADINDEX);
    EXPECT_EQ(HostGetAttributeDef(HostAttr_BuildingMaterial, 1, &def), APIERR_BADPARS);
    EXPECT_EQ(def.skins, nullptr);
    HostAttributeDefExt ext{};
    EXPECT_EQ(HostGetAttributeDefExt(HostAttr_Profile, 9, &ext), APIERR_BADINDEX);
    EXPECT_EQ(HostGetAttributeDefExt(HostAttr_Composite, 1, &ext), APIERR_BADPARS);
    EXPECT_EQ(ext.profile_vectorImageItems, nullptr);
    EXPECT_EQ(Host::ElementCounters().attributeDefsHandedOut, 0);
    EXPECT_EQ(Host::ElementCounters().attributeDefExtsHandedOut, 0);
    ExpectNothingLive();
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
    EXPECT_DOUBLE_EQ(w, 0.2);
    EXPECT_DOUBLE_EQ(h, 0.4);
    API_Box whole{1, 1, 1, 1}, core{1, 1, 1, 1};
    EXPECT_TRUE(ops.CalculateBounds(image, &whole, &core, nullptr));
    EXPECT_DOUBLE_EQ(whole.xMax - whole.xMin, 0.2);
    EXPECT_DOUBLE_EQ(whole.yMax - whole.yMin, 0.4);
    EXPECT_DOUBLE_EQ(core.xMin, 0.05);
    EXPECT_DOUBLE_EQ(core.xMax - core.xMin, 0.1);

    struct Collect : ProfileVectorImageVisitor {
        std::vector<std::pair<GS::Int32, double>> materialAreas;
        int others = 0;
        void VisitHatchObject(const HatchObject& hatch) override
        {
            if (!hatch.IsBuildingMaterialHatch()) {
                ++others;
                return;
            }
            Geometry::MultiPolygon2D polygons;
            double area = 0.0;
            if (hatch.ToPolygon2D(polygons)) {
                for (const auto& p : polygons)
                    area += Geometry::PolygonArea(p);
            }
            materialAreas.emplace_back(hatch.GetBuildMatIdx().ToGSAttributeIndex_Deprecated(), area);
        }
    } visitor;
    ops.EnumerateHatchObjects(image, visitor);
    ASSERT_EQ(visitor.materialAreas.size(), 2u);
    EXPECT_EQ(visitor.materialAreas[0].first, 4);
    EXPECT_NEAR(visitor.materialAreas[0].second, 0.08, 1e-12);
    EXPECT_EQ(visitor.materialAreas[1].first, 1);
    EXPECT_NEAR(visitor.materialAreas[1].second, 3.0, 1e-12);  // the hole is left out
    EXPECT_EQ(visitor.others, 1);

    EXPECT_EQ(Host::ElementCounters().liveProfileImages, 1);
    EXPECT_EQ(HostDisposeAttributeDefExt(&ext), NoError);
    EXPECT_EQ(ext.profile_vectorImageItems, nullptr);
    ExpectNothingLive();
}

TEST_F(HostModelTest, ProfileWithoutImageIsReadAndMustStillBeReleased)
{
    HostAttributeDefExt ext{};
    ASSERT_EQ(HostGetAttributeDefExt(HostAttr_Profile, 2, &ext), NoError);
    EXPECT_EQ(ext.profile_vectorImageItems, nullptr);
    EXPECT_FALSE(Host::ElementCounters().Balanced());
    HostDisposeAttributeDefExt(&ext);
    ExpectNothingLive();
}

TEST_F(HostModelTest, PensByIndex)
{
    API_PenType pen{};
    pen.index = 3;
    ASSERT_EQ(ACAPI_Environment_GetPen(&pen), NoError);
    EXPECT_EQ(pen.index, 3);
    EXPECT_DOUBLE_EQ(pen.rgb.f_red, 1.0);
    EXPECT_DOUBLE_EQ(pen.rgb.f_green, 0.0);
    EXPECT_DOUBLE_EQ(pen.width, 0.35);
    pen.index = 2;
    EXPECT_EQ(ACAPI_Environment_GetPen(&pen), APIERR_BADINDEX);
}

TEST_F(HostModelTest, LibraryPartParameters)
{
    HostLibPartParams params{};
    ASSERT_EQ(HostGetLibPartParams(1, &params), NoError);
    EXPECT_DOUBLE_EQ(params.a, 1.2);
    EXPECT_DOUBLE_EQ(params.b, 1.5);
    ASSERT_EQ(params.count, 3);
    ASSERT_EQ(BMGetHandleSize(reinterpret_cast<GSConstHandle>(params.params)), 3 * 1600);
    EXPECT_STREQ((*params.params)[2].name, "gs_frame_thk");
    EXPECT_STREQ((*params.params)[2].description, "Frame thickness");
    EXPECT_EQ((*params.params)[1].typeID, APIParT_Integer);
    EXPECT_EQ(Host::ElementCounters().libPartParamsHandedOut, 1);
    EXPECT_EQ(HostDisposeLibPartParams(&params), NoError);
    EXPECT_EQ(params.params, nullptr);
    EXPECT_EQ(params.count, 0);
    EXPECT_EQ(HostGetLibPartParams(5, &params), APIERR_BADINDEX);
    EXPECT_EQ(HostGetLibPartParams(0, &params), APIERR_BADINDEX);
    ExpectNothingLive();
}
