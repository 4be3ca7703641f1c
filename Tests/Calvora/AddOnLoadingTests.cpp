// The real libCalvora.so, loaded as the host loads it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "DG/DGUser.hpp"
#include "HostApi/HostCalls.hpp"
#include "Host/StandInHost.hpp"

namespace {

struct Library {
    void* handle = dlopen(CALVORA_ADDON_PATH, RTLD_NOW | RTLD_LOCAL);
    ~Library()
    {
        if (handle != nullptr)
            dlclose(handle);
    }
    template <typename Fn>
    Fn Symbol(const char* name) const
    {
        return reinterpret_cast<Fn>(dlsym(handle, name));
    }
};

using GetExportsFn = GS::Int32 (*)(API_ExportedFuncs*);
using SetImportsFn = GS::Int32 (*)(const void*);

// Only the two exports are visible; the record they fill is exact, and its entry points refuse
// until the table is handed over. A host that then unloads the module without FreeData: its statics
// still take the palettes with them.
TEST(AddOnExports, AnExactRecordWhoseEntryPointsWaitForTheTableAndWhosePalettesGoWithTheModule)
{
    Host::StandInHost host;
    {
        Library lib;
        ASSERT_NE(lib.handle, nullptr) << dlerror();
        EXPECT_NE(lib.Symbol<void*>("SetImportedFuncAddrs"), nullptr);
        EXPECT_EQ(lib.Symbol<void*>("CheckEnvironment"), nullptr);
        EXPECT_EQ(lib.Symbol<void*>("_Z16CalvoraSetHostTablePKv"), nullptr);
        const auto getExports = lib.Symbol<GetExportsFn>("GetExportedFuncAddrs");
        ASSERT_NE(getExports, nullptr);
        unsigned char record[120];
        std::memset(record, 0xAA, sizeof record);
        getExports(reinterpret_cast<API_ExportedFuncs*>(record));

        const unsigned char head[] = {0x01, 0x00, 0x1C, 0x00, 0, 0, 0, 0};
        EXPECT_EQ(std::memcmp(record, head, sizeof head), 0);
        for (int offset : {8, 16, 24, 32}) {
            void* entry;
            std::memcpy(&entry, record + offset, 8);
            Dl_info info{};
            ASSERT_NE(dladdr(entry, &info), 0) << "entry point at " << offset;
            EXPECT_NE(std::strstr(info.dli_fname, "libCalvora.so"), nullptr);
        }
        const unsigned char version[] = {0x60, 0x6D, 0x00, 0x00};  // 28000
        EXPECT_EQ(std::memcmp(record + 40, version, 4), 0);
        for (int i = 44; i < 120; ++i)
            EXPECT_EQ(record[i], 0) << "byte " << i;

        API_ExportedFuncs funcs;
        getExports(&funcs);
        API_EnvirParams envir;
        EXPECT_EQ(funcs.checkEnvironment(&envir), 0);
        EXPECT_TRUE(envir.addOnName.IsEmpty());
        EXPECT_EQ(funcs.registerInterface(), APIERR_NOTABLE);
        EXPECT_EQ(funcs.initialize(), APIERR_NOTABLE);
        EXPECT_EQ(funcs.freeData(), APIERR_NOTABLE);

        // With the table handed over (and empty), the same calls reach the table and find nothing there.
        API_FunctionTable empty{};
        lib.Symbol<SetImportsFn>("SetImportedFuncAddrs")(&empty);
        EXPECT_EQ(funcs.checkEnvironment(&envir), 1);
        EXPECT_EQ(envir.addOnName.ToUtf8(), "Calvora");
        EXPECT_EQ(funcs.registerInterface(), APIERR_MISSINGENTRY);
        EXPECT_EQ(funcs.initialize(), APIERR_MISSINGENTRY);

        // Not told the add-on's file, the host reads its menus from this program, which links the add-on's code.
        ASSERT_NE(HostGetOwnResModule(), InvalidResModule);
        lib.Symbol<SetImportsFn>("SetImportedFuncAddrs")(host.Table());
        ASSERT_EQ(funcs.registerInterface(), NoError);
        ASSERT_EQ(funcs.initialize(), NoError);
        std::string error;
        ASSERT_TRUE(host.ChooseMenu(32500, 1, &error)) << error;
        ASSERT_TRUE(host.ChooseMenu(32501, 1, &error)) << error;
        ASSERT_EQ(DG::User::Panels().size(), 2u);
    }
    EXPECT_TRUE(DG::User::Panels().empty());
}

// Every menu comes with its handler, its prompts in the list six ids above it, and its entries;
// Initialize stops at its first missing step (project events, the two palettes in one slot, the
// selection handler), and the menu handlers of the step before it stay installed.
TEST(AddOnInHost, LoadsWithItsMenusAndInitializeStopsAtTheFirstMissingStep)
{
    const struct {
        std::optional<ApiSlot> missing;
        GSErrCode initialized;
        std::size_t palettes;  // registered before Initialize stopped
    } cases[] = {{std::nullopt, NoError, 2}, {Slot_CatchProjectEvent, APIERR_MISSINGENTRY, 0},
                 {Slot_RegisterPalette, APIERR_MISSINGENTRY, 0}, {Slot_CatchSelectionChange, APIERR_MISSINGENTRY, 2}};
    for (const auto& c : cases) {
        Host::StandInHost host;
        if (c.missing)
            host.SetEntry(*c.missing, nullptr);
        std::string error;
        ASSERT_TRUE(host.LoadAddOn(CALVORA_ADDON_PATH, &error)) << error;
        EXPECT_EQ(host.AddOn().name + " / " + host.AddOn().description, "Calvora / Calvora :: Project Quantities and Cost Estimation");
        ASSERT_FALSE(host.CallLog().empty());
        EXPECT_EQ(host.CallLog().back(), "Initialize " + std::to_string(c.initialized)) << c.palettes;
        EXPECT_EQ(host.Palettes().size(), c.palettes) << c.initialized;
        std::string menus;
        for (const auto& m : host.Menus())
            menus += std::to_string(m.menuId) + "/" + std::to_string(m.promptId) + ":" + std::to_string(m.entries.size()) +
                     (m.handler != nullptr ? " " : " without a handler ");
        EXPECT_EQ(menus, "32500/32506:1 32501/32507:1 32502/32508:1 32503/32509:2 32504/32510:2 ");
    }
}

}  // namespace
