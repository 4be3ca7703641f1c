// Names, variables and functions of every element type over the fixture model.
#include "ElementFuncsTestSupport.hpp"

#include <algorithm>
#include <deque>
#include <sstream>

#include "Host/Model.hpp"

namespace {

// ---- Names -------------------------------------------------------------------------------------

TEST_F(ElementFuncsTest, EveryElementOffersTheNamesThatApplyToIt)
{
    const std::string wall = "Volume,CoreVolume,Area,Thickness,Perimeter,Length,RefLength,MaxHeight,MinHeight";
    const std::string beam = "Volume,CoreVolume,Area,Length,ProjectionLength,Width,Height";
    const std::string column = "CoreVolume,CoreArea,Height,Width";
    const std::string slab = "Volume,CoreVolume,Area,Perimeter,Thickness,CoreThickness";
    const std::string roof = "Volume,CoreVolume,Area,ProjectionArea,Perimeter,"
                             "RidgesLength,EavesLength,GabelsLength,ValleysLength,HipsLength";
    const struct { const char* guid; std::string quantities, functions; } cases[] = {
        {Fx::WallBasic, wall, "Property"},
        {Fx::WallComposite, wall, "SkinVolume,SkinArea,Property"},
        {Fx::WallProfiled, wall + ",ProfileWidth,ProfileHeight", "ProfileRegionVolume,ProfileRegionArea,Property"},
        {Fx::Beam, beam, "Property"},
        {Fx::BeamProfiled, beam + ",ProfileArea", "Property,ProfileRegionVolume"},
        {Fx::BeamProfileZero, beam + ",ProfileArea", "Property,ProfileRegionVolume"},
        {Fx::Column, column, "Property"},
        {Fx::ColumnProfiled, column + ",ProfileHeight,ProfileArea", "Property,ProfileRegionVolume"},
        {Fx::ColumnProfileZero, column + ",ProfileHeight,ProfileArea", "Property,ProfileRegionVolume"},
        {Fx::Slab, slab, "SkinVolume,SkinArea,Property"}, {Fx::SlabBasic, slab, "Property"},
        {Fx::Roof, roof, "Property"}, {Fx::RoofComposite, roof, "SkinVolume,SkinArea,Property"},
        {Fx::Window, "Volume,Area,Width1,Height1", "Parameter"}, {Fx::Object, "A,B", "Parameter"},
        {Fx::Zone, "Area,Perimeter,Volume,Height,NetArea,CalcArea", "Parameter"}, {Fx::Fill, "Area,Perimeter", ""},
        {Fx::Line, "Length", ""}, {Fx::PolyLine, "Length", ""}, {Fx::CurtainWall, "Length,Height", ""},
        {Fx::Morph, "Volume,Area", ""}, {Fx::Railing, "Length,Height", ""},
        {Fx::Stair, "Volume,Area,Height,WalklineLength,Gradient,NumOfRisers,NumOfTreads", ""},
        // A type without element functions offers nothing; a section element offers its parent's
        // quantities but no functions; without a parent nothing.
        {Fx::Door, "", ""}, {Fx::Section, wall, ""}, {Fx::SectionOrphan, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.guid);
        const API_Element element = Read(c.guid);
        EXPECT_EQ(Join(GetElementFuncsFactory().GetQuantityNames(element)), c.quantities);
        EXPECT_EQ(Join(GetElementFuncsFactory().GetFunctionNames(element)), c.functions);
    }
    EXPECT_TRUE(Host::DatabaseSwitches().empty());  // names are read without changing the database

    // The parent's header reads, its record does not: no names from a half-read parent.
    for (const char* op : {"HostGetElement", "HostGetElementHeader"}) {
        host->ClearFailures();
        host->FailOperation(op, Fx::WallComposite);
        EXPECT_EQ(Join(GetElementFuncsFactory().GetQuantityNames(Read(Fx::Section))), "") << op;
    }
}

// ---- Named quantities and functions --------------------------------------------------------------

// Checks "Name=value Name=- Function(1,'text')=value ..." against the variables the element's type
// stores ('-': not stored) and what its functions give for those arguments (numbers as std::stod
// reads them, "nan" and "inf" too).
void ExpectValues(const char* guid, const char* expectations)
{
    const API_Element element = Read(guid);
    ElementFormulaContext context;
    context.SetElement(&element);
    GetElementFuncsFactory().SetVariables(element, context);
    std::istringstream in(expectations);
    for (std::string item, more; in >> item;) {
        while (std::count(item.begin(), item.end(), '\'') % 2 != 0 && in >> more)  // a text with blanks
            item += " " + more;
        const std::size_t open = item.find('('), equals = item.rfind('=');
        const std::string name = item.substr(0, std::min(open, equals)), expected = item.substr(equals + 1);
        if (open != std::string::npos) {
            std::deque<std::string> texts;  // the text arguments point into it
            GS::Array<Math_Parameter> args;
            std::istringstream list(item.substr(open + 1, item.rfind(')') - open - 1));
            for (std::string arg; std::getline(list, arg, ',');) {
                if (arg[0] == '\'')
                    texts.push_back(arg.substr(1, arg.size() - 2));
                args.Push(arg[0] == '\'' ? Math_Parameter{Math_TextParameter, texts.back().data(), 0.0}
                                         : Math_Parameter{Math_NumberParameter, nullptr, std::stod(arg)});
            }
            EXPECT_NEAR(GetElementFuncsFactory().EvaluateFunction(element, GS::UniString(name.c_str()), args),
                        std::stod(expected), 1e-12) << item;
        } else if (const double* value = context.variables.GetPtr(GS::UniString(name.c_str())); expected == "-") {
            EXPECT_EQ(value, nullptr) << name << " = " << *value;
        } else if (value == nullptr) {
            ADD_FAILURE() << name << " is not stored";
        } else {
            EXPECT_NEAR(*value, std::stod(expected), 1e-12) << name;
        }
    }
}

TEST_F(ElementFuncsTest, NamedQuantitiesAndFunctionsGiveTheirClosedFormValuesAndNoneWhenAReadFails)
{
    // The fixture holds only its two deliberate flaws: a misspelt key or structure would read as 0
    // and let a case pass for the wrong reason.
    std::string problems;
    for (const std::string& problem : Host::CheckModel(host->Model()))
        problems += problem + "\n";
    EXPECT_EQ(problems,
              "element 3 (E1000000-0000-4000-8000-000000000004): \"story\" names no story\n"
              "element 34 (E1000000-0000-4000-8000-000000000071): \"parentGuid\" names no element\n");
    const char *const W = Fx::WallComposite, *const WP = Fx::WallProfiled, *const BP = Fx::BeamProfiled;
    // failOp: a host read told to fail for this element, or for all.
    const struct { const char *guid, *values, *failOp = nullptr; bool forAll = false; } cases[] = {
        // Record thickness, host quantities, core volume = volume; names match exactly. Properties:
        // the first numeric definition of the exact name, host order; text ones passed over.
        {Fx::WallBasic, "Thickness=0.3 Volume=10 CoreVolume=10 Area=30 Perimeter=20.6 Length=10 RefLength=10.2 "
                        "MaxHeight=3 MinHeight=2.8 ProfileWidth=- volume=- SkinVolume(1)=0 Foo(1)=0 "
                        "Property('Fire rating')=1.5 Property('Load')=3 Property('Load',7)=3 Property('load')=0 "
                        "Property('Cost')=0 Property(5)=0 Property()=0 property('Load')=0"},
        // The core skins' volumes; none when no skin is core; the volume when the host gives no skins.
        // Skins by number: truncated, counted from 1, range checked before conversion; by building
        // material, any letter case, every skin of it.
        {W, "CoreVolume=6 Volume=12 SkinVolume(2.7)=6 SkinVolume(3.999)=3 SkinArea(3)=32 SkinVolume(0)=0 "
            "SkinVolume(-1)=0 SkinVolume(4)=0 SkinVolume(1e20)=0 SkinVolume(-1e20)=0 SkinVolume(nan)=0 "
            "SkinArea(inf)=0 SkinVolume(4294967297)=0 SkinArea('brick')=62 SkinVolume('BRICK')=6 "
            "SkinVolume('Concrete')=6 SkinVolume('Steel')=0 SkinVolume()=0 SkinVolume(1,2)=0 skinVolume(1)=0 "
            "ProfileRegionArea('Brick')=0 Property('Fire rating')=0.5"},
        {Fx::WallNoCore, "CoreVolume=0"}, {Fx::WallNoSkins, "CoreVolume=7.5"},
        // Profile regions: brick is two hatches of 0.015, concrete one of 0.12.
        {WP, "ProfileWidth=0.3 ProfileHeight=0.5 Volume=5 SkinVolume(1)=0 ProfileRegionArea('brick')=0.03 "
             "ProfileRegionArea('Concrete')=0.12 ProfileRegionVolume('Concrete')=0.48 ProfileRegionArea(1)=0 "
             "ProfileRegionArea('Insulation')=0"},
        // Beam (0,0)-(3,4); slanted 60 degrees; upright (cosine 0) keeps its plan length.
        {Fx::Beam, "ProjectionLength=5 Length=5 Width=0.2 Height=0.4 ProfileArea=0 Volume=0.4 Area=5 CoreVolume=0.4 "
                   "ProfileRegionVolume('Brick')=0 Property('Load')=3"},
        {Fx::BeamSlanted, "ProjectionLength=5 Length=10"}, {Fx::BeamUpright, "Length=5 ProjectionLength=5"},
        // Building dimensions; hatches 0.12 + 2 x 0.015; core box 0.2 x 0.3 of 0.3 x 0.5 scaled: 0.06 x length 5.
        {BP, "Width=0.3 Height=0.5 ProfileArea=0.15 CoreVolume=0.3 Volume=0.9 ProfileRegionVolume('concrete')=0.6 "
             "ProfileRegionVolume('Brick')=0.15 ProfileRegionVolume('Brick','Brick')=0"},
        {Fx::BeamProfileZero, "Width=0.25 Height=0.45 ProfileArea=0 CoreVolume=0.5 ProfileRegionVolume('Brick')=0"},
        // A core box of zero width.
        {Fx::BeamFlatCore, "CoreVolume=0.2 ProfileArea=0 Width=0.2 ProfileRegionVolume('Brick')=0"},
        {Fx::Column, "CoreVolume=0.27 CoreArea=0.09 Height=3 Width=0.3 ProfileHeight=0.35 ProfileArea=0 "
                     "ProfileRegionVolume('Brick')=0 Property('Fire rating')=0.5"},
        {Fx::ColumnProfiled, "Width=0.3 ProfileHeight=0.5 ProfileArea=0.15 Height=2.5 "
                             "ProfileRegionVolume('Brick')=0.075"},
        {Fx::ColumnProfileZero, "Width=0.25 ProfileHeight=0.45 ProfileArea=0 CoreVolume=0.3 "
                                "ProfileRegionVolume('Brick')=0"},
        // Parameters: exact name within its 32-byte field, length or real type only.
        {Fx::Window, "Width1=1.2 Height1=1.5 Area=1.8 Volume=0.54 Width2=1.1 Height2=1.4 Area1=1.7 Area2=1.6 "
                     "NominalWidth1=1.25 NominalWidth2=1.15 NominalHeight1=1.55 NominalHeight2=1.45 "
                     "NominalArea1=1.9 NominalArea2=1.66 GrossArea=2 GrossVolume=0.6 SillHeight=0.9 "
                     "SillHeight1=0.91 SillHeight2=0.92 SillHeight3=0.93 HeadHeight=2.4 HeadHeight1=2.41 "
                     "HeadHeight2=2.42 HeadHeight3=2.43 Parameter('Frame')=0.07 Parameter('Glazing')=0"},
        {Fx::Door, "Width1=- Property('Load')=0"}, {Fx::ObjectNoMemo, "Parameter('Len')=0"},
        {Fx::Object, "A=1.2 B=0.8 Property('Load')=0 Parameter('Len')=2.5 Parameter('Rate')=4.5 Parameter('Count')=0 "
                     "Parameter('len')=0 Parameter('ABCDEFGHIJKLMNOPQRSTUVWXYZ012345')=9 "
                     "Parameter('ABCDEFGHIJKLMNOPQRSTUVWXYZ01234')=0 Parameter('ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456')=0 "
                     "Parameter('Len','x')=0 Parameter(1)=0 parameter('Len')=0"},
        // The larger face whichever it is; core thickness 0.1 + 0.05 of skins core, non-core, core.
        {Fx::Slab, "Thickness=0.35 Area=21.5 Volume=7 CoreVolume=3 Perimeter=18 CoreThickness=0.15 SkinVolume(1)=2 "
                   "SkinArea(3)=21.5 SkinVolume('concrete')=3 Property('Cost')=55.5"},
        {Fx::SlabBasic, "Area=21.5 CoreThickness=0 CoreVolume=5 SkinVolume(1)=0 Property('Cost')=42"},
        {Fx::Roof, "Volume=9 CoreVolume=9 Area=35 ProjectionArea=30 Perimeter=24 RidgesLength=6 EavesLength=12 "
                   "GabelsLength=8 ValleysLength=1.5 HipsLength=2.5 SkinVolume(1)=0 Property('Load')=3"},
        {Fx::RoofComposite, "CoreVolume=4 SkinVolume('Concrete')=4 SkinArea(2)=20"},
        {Fx::Zone, "Area=25 Perimeter=20 Volume=67.5 Height=2.7 NetArea=24 CalcArea=23.5 Parameter('Ceiling')=2.7 "
                   "Parameter('Finish')=0 Parameter()=0"},
        {Fx::Fill, "Area=4.5 Perimeter=9 Property('Load')=0"}, {Fx::Line, "Length=5 Length()=0"},
        // 4 + 3; the first edge a half circle over its chord 4 (2 pi + 3); one point; counts beyond
        // the memo, where the first arc from a vertex decides whatever its end index: a half circle
        // ending at 7 (2 pi), then one of angle 0 (its chord, 3), and later arcs from 1 and 2 ignored.
        {Fx::PolyLine, "Length=7"}, {Fx::PolyLineArc, "Length=9.283185307179586"},
        {Fx::PolyLineOnePoint, "Length=0"}, {Fx::PolyLineBadCounts, "Length=9.283185307179586"},
        {Fx::CurtainWall, "Height=3.5 Length=6 Area=21"}, {Fx::Morph, "Volume=2 Area=6"},
        {Fx::Stair, "Volume=1.8 Area=5.4 Height=3 WalklineLength=4.5 Gradient=0.6 NumOfRisers=17 NumOfTreads=16 "
                    "Parameter('Len')=0"},
        // A section element's variables come through the quantity, as its parent's.
        {Fx::Railing, "Height=1.1 Length=8 Area=8.8"}, {Fx::Section, "Volume=-"},
        // A failed host read leaves only its own variables undefined, and its functions give 0.0.
        {WP, "Thickness=0.3 ProfileHeight=0.5 Volume=- CoreVolume=- ProfileRegionVolume('Concrete')=0",
         "HostGetElementQuantities"},
        {Fx::Slab, "Thickness=0.35 CoreThickness=0", "HostGetElementQuantities"},
        {Fx::Railing, "Height=1.1 Length=-", "HostGetElementQuantities"},
        {Fx::Object, "A=1.2", "HostGetElementQuantities"}, {Fx::Beam, "Length=5 Volume=-", "HostGetElementQuantities"},
        {Fx::Window, "Width1=-", "HostGetElementQuantities"},
        {Fx::ColumnProfiled, "ProfileRegionVolume('Brick')=0", "HostGetElementQuantities"},
        {W, "SkinVolume(2.7)=0", "HostGetElementQuantities"}, {Fx::Column, "Width=-", "HostGetElementMemo"},
        {Fx::Beam, "Width=- CoreVolume=0.4", "HostGetElementMemo"}, {Fx::PolyLineArc, "Length=0", "HostGetElementMemo"},
        {Fx::Object, "Parameter('Len')=0", "HostGetElementMemo"},
        {Fx::Zone, "Parameter('Ceiling')=0", "HostGetElementMemo"},
        {BP, "ProfileRegionVolume('Brick')=0", "HostGetElementMemo"},
        {Fx::WallBasic, "Property('Load')=0", "HostGetElementPropertyDefinitions"},
        {Fx::WallBasic, "Property('Load')=0", "HostGetElementProperty"},
        // Reads that fail for every element.
        {Fx::WallBasic, "Property('Load')=0", "HostIsValidPropertyValue", true},
        {BP, "Width=- ProfileArea=0 CoreVolume=0.9", "HostGetAttributeDefExt", true},
        {WP, "ProfileWidth=- ProfileRegionArea('brick')=0", "HostGetAttributeDefExt", true},
        {Fx::Slab, "CoreThickness=-", "HostGetAttribute", true},
        {WP, "ProfileRegionArea('brick')=0", "HostGetAttribute", true},
        {Fx::Slab, "CoreThickness=- Area=21.5", "HostGetAttributeDef", true},
        {W, "SkinVolume('BRICK')=0", "HostGetAttributeDef", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.guid) + " " + (c.failOp ? c.failOp : ""));
        host->ClearFailures();
        if (c.failOp != nullptr)
            host->FailOperation(c.failOp, c.forAll ? "" : c.guid);
        ExpectValues(c.guid, c.values);
    }
}

}  // namespace
