#pragma once
// What the benchmarks share: walls in the stand-in host, the add-on connected to it, and the main
// panel in a palette.
#include <cstdio>
#include <memory>
#include <string>

#include "DG/DGPanel.hpp"
#include "Database/ProjectDatabase.hpp"
#include "GSRoot/Debug.hpp"
#include "Host/StandInHost.hpp"
#include "HostApi/HostCalls.hpp"
#include "Palettes/CalvoraPanel.hpp"

namespace BenchSupport {

inline std::string WallGuid(int i)
{
    char text[40];
    std::snprintf(text, sizeof text, "B0000000-0000-4000-8000-%012d", i + 1);
    return text;
}

// That many walls, of volume 1, 2, 3...
inline Host::Json WallsProject(int walls)
{
    Host::Json elements = Host::Json::array();
    for (int i = 0; i < walls; ++i)
        elements.push_back({{"guid", WallGuid(i)}, {"typeID", "Wall"}, {"id", "W-" + std::to_string(i + 1)},
                            {"quantities", {{"volume", 1.0 + i}, {"area", 2.0}, {"length", 3.0}}}});
    return {{"model", {{"elements", elements}}}};
}

// The stand-in host with the project, handed to the add-on, its debug output dropped; the estimate is
// reopened afresh when it goes.
struct HostedAddOn {
    explicit HostedAddOn(const Host::Json& project)
    {
        GS::SetDebugCapture([](const std::string&) {});
        CalvoraSetHostTable(host.Table());
        host.SetProject(project);
    }
    ~HostedAddOn()
    {
        ProjectDatabase::instance().reopen();
        CalvoraClearHostTable();
        GS::SetDebugCapture({});
    }
    Host::StandInHost host;
};

// The add-on's main panel in a palette.
struct MainPanel {
    void Open()
    {
        palette = std::make_unique<DG::Palette>(HostGetOwnResModule(), 32401, HostGetOwnResModule());
        panel = std::make_unique<CalvoraPanel>(*palette, 32401);
        palette->Show();
    }
    void Close()
    {
        panel.reset();
        palette.reset();
    }
    ~MainPanel() { Close(); }
    Int16 Id() const { return palette->GetId(); }

    std::unique_ptr<DG::Palette> palette;
    std::unique_ptr<CalvoraPanel> panel;
};

}  // namespace BenchSupport
