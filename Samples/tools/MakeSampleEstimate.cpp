// Writes the sample project's stored estimate ("CalvoraDB") through the add-on's own database and
// element-quantity code, so the sample carries exactly what the add-on itself would store.
//
//     make_sample_estimate Samples/sample-project.json
#include <cstdio>
#include <string>

#include "Database/CategoriesTable.hpp"
#include "Database/ItemsTable.hpp"
#include "Database/ProjectDatabase.hpp"
#include "Database/QtiesTable.hpp"
#include "ElementFuncs/QtyEvaluation.hpp"
#include "Host/StandInHost.hpp"
#include "HostApi/HostCalls.hpp"

namespace {
struct QtySpec {
    const char* guid;  // empty: not linked
    const char* descript;
    const char* formula;
};
struct ItemSpec {
    const char* code;
    const char* descript;
    const char* unit;
    double price;
    std::initializer_list<QtySpec> qties;
};
struct CategorySpec {
    const char* code;
    const char* title;
    const char* descript;
    std::initializer_list<ItemSpec> items;
};

const char* const W01 = "408EB5D4-FFEF-5C87-9D73-FAC37092B2D9";
const char* const W02 = "289C7C95-4308-5D6F-BE31-6AA1732362FF";
const char* const W03 = "9807495F-873D-5183-897B-7AA404FB59ED";
const char* const W04 = "4B6BD522-5D9F-5E9B-9E8A-88378D304380";
const char* const W05 = "623E4A9D-AA5E-51FA-B7E8-7530D4B03115";
const char* const C01 = "9D47043D-2866-5E29-B1B9-B9B59251EEBC";
const char* const C02 = "69A39417-F7AC-50C9-BD05-A8504A704056";
const char* const C03 = "A4881335-8F68-5A84-ACF9-98965F6D420F";
const char* const B02 = "A95448C5-3C10-5A86-AE46-263C4D5A1878";
const char* const S01 = "BCDE866A-48E3-56A9-A8FA-C96B3B9A3710";
const char* const Z01 = "79D4E278-ACAB-5A19-B1CC-915786F5CD0E";

const CategorySpec kEstimate[] = {
    {"00", "Preliminaries", "Site setup and access for the whole works",
     {{"00.01", "Site setup and clearance", "ls", 1500.0, {{"", "Lump sum", "1"}}},
      {"00.02", "Facade scaffolding", "m2", 6.8, {{"", "Around the house, 6.5 m high", "(10+8)*2*6.5"}}}}},
    {"01", "Masonry", "Load-bearing walls of both floors",
     {{"01.01", "Ground floor walls, 300 mm", "m3", 160.0,
       {{W01, "Wall #ID", "Volume"}, {W02, "Wall #ID", "Volume"}, {W03, "Wall #ID", "Volume"},
        {W04, "Wall #ID", "Volume"}}},
      {"01.02", "First floor composite wall", "m3", 185.0, {{W05, "Wall #ID", "Volume"}}}}},
    {"02", "Concrete and steel", "Columns, slab and the slanted steel beam",
     {{"02.01", "Reinforced concrete columns", "m3", 240.0,
       {{C01, "Column #ID", "CoreVolume"}, {C02, "Column #ID", "CoreVolume"}, {C03, "Column #ID", "CoreVolume"}}},
      {"02.02", "Ground floor slab", "m3", 210.0, {{S01, "Slab #ID", "Volume"}}},
      {"02.03", "Steel beam HEA 200", "m", 95.0, {{B02, "Beam #ID", "Length"}}}}},
    {"03", "Finishes", "Plaster and floor finishes",
     {{"03.01", "Wall plaster, both faces", "m2", 12.5,
       {{W05, "Wall #ID, both faces", "Area*2"}, {W05, "Wall #ID, window reveals", "Length*0.6"},
        {W01, "Wall #ID, both faces", "Area*2"}}},
      {"03.02", "Ceramic floor tiles", "m2", 38.0,
       {{Z01, "Room #ID", "Area"}, {"", "Cutting waste", "3.5"}}}}},
};

bool Fail(const char* what)
{
    std::fprintf(stderr, "make_sample_estimate: %s\n", what);
    return false;
}

bool BuildEstimate()
{
    ProjectDatabase& db = ProjectDatabase::instance();
    db.clearAll();
    // The empty schema's default category becomes the first one.
    bool first = true;
    for (const CategorySpec& c : kEstimate) {
        Category category;
        if (first) {
            const auto all = CategoriesTable().findAll();
            if (all.begin() != all.end())
                category = all.begin()->value;
            first = false;
        }
        category.setString("code", c.code);
        category.setString("title", c.title);
        category.setString("descript", c.descript);
        if (!CategoriesTable().save(category))
            return Fail("a category was not saved");
        for (const ItemSpec& i : c.items) {
            Item item;
            item.setInt("category_id", category.getInt("id"));
            item.setString("code", i.code);
            item.setString("descript", i.descript);
            item.setString("unit", i.unit);
            item.setDouble("price", i.price);
            if (!ItemsTable().save(item))
                return Fail("an item was not saved");
            for (const QtySpec& q : i.qties) {
                Qty qty;
                qty.setInt("item_id", item.getInt("id"));
                qty.setString("guid", q.guid);
                qty.setString("descript", q.descript);
                qty.setString("formula", q.formula);
                double value = 0.0;
                if (!EvaluateQtyFormula(qty, &value, false))
                    return Fail(qty.errorText);
                qty.setDouble("value", value);
                if (!QtiesTable().save(qty))
                    return Fail("a quantity was not saved");
            }
        }
    }
    db.saveToProject();
    return !db.isChanged() || Fail("the estimate was not stored");
}
}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sample_estimate PROJECT.json\n");
        return 2;
    }
    Host::StandInHost host;
    std::string error;
    if (!host.OpenProject(argv[1], &error)) {
        std::fprintf(stderr, "make_sample_estimate: %s\n", error.c_str());
        return 1;
    }
    host.Project()["moduleData"].erase("CalvoraDB");
    CalvoraSetHostTable(host.Table());
    if (!BuildEstimate())
        return 1;
    if (!host.SaveProject(argv[1], &error)) {
        std::fprintf(stderr, "make_sample_estimate: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
