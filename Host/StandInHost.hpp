#pragma once
// The stand-in host: holds a project (model and module data), answers the add-on's API calls from it,
// loads the add-on as a shared library and delivers menus, events and the selection.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "API/ApiTable.hpp"
#include "Host/ElementOps.hpp"

namespace Host {

struct MenuEntry {
    GS::Int32 index = 0;  // counted from 1 after the title items
    std::string text;     // availability suffix stripped
    std::string rawText;
    std::string prompt;
    GSFlags flags = 0;
};

struct Menu {
    GS::Int16 menuId = 0;
    GS::Int16 promptId = 0;
    std::vector<std::string> titles;
    std::vector<MenuEntry> entries;
    APIMenuCommandProc handler = nullptr;
};

struct AddOnState {
    bool loaded = false;
    std::string path;
    std::string name;
    std::string description;
    API_ExportedFuncs exports{};
};

class StandInHost : public ElementOpsHost {
public:
    StandInHost();
    ~StandInHost();
    StandInHost(const StandInHost&) = delete;
    StandInHost& operator=(const StandInHost&) = delete;

    // The host whose plain functions answer the table's calls (the newest one alive).
    static StandInHost* Active();

    // The project: {"model": {...}, "projectInfo": [...], "moduleData": {name: base64}}.
    Json& Project() { return project; }
    Json& Model() override { return project["model"]; }
    const std::string& ProjectPath() const { return projectPath; }

    // Project life cycle; the events reach the add-on's handler when its mask asks for them.
    void NewProject();
    bool OpenProject(const std::string& path, std::string* error);
    void CloseProject();
    bool SaveProject(const std::string& path, std::string* error);
    // Replaces the project without any event (for tests that build one in memory).
    void SetProject(const Json& newProject);

    const void* Table() const { return &table; }
    void SetEntry(ApiSlot slot, void* fn) { table.entries[slot] = fn; }

    std::optional<std::vector<unsigned char>> ModuleData(const std::string& name) const;
    void SetModuleData(const std::string& name, const std::vector<unsigned char>& bytes);

    // Makes an operation fail (for one element, or for all when guidText is empty). Throws
    // std::invalid_argument, listing the known names, for a name that is not an operation's.
    void FailOperation(const std::string& op, const std::string& guidText = "", GSErrCode code = APIERR_GENERAL);
    void ClearFailures() { failures.clear(); }
    bool ShouldFail(Operation op, const API_Guid* guid, GSErrCode* code) const override;

    // The user's selection, in selection order; Select notifies the add-on.
    void Select(const std::vector<GS::Guid>& guids);
    const std::vector<GS::Guid>& Selection() const { return selection; }

    // Loads the add-on: exports checked, table handed over, CheckEnvironment, RegisterInterface, Initialize.
    bool LoadAddOn(const std::string& path, std::string* error);
    void UnloadAddOn();
    const AddOnState& AddOn() const { return addOn; }

    const std::vector<Menu>& Menus() const { return menus; }
    bool ChooseMenu(GS::Int16 menuId, GS::Int32 entry, std::string* error);
    bool ChooseMenuByText(const std::string& text, std::string* error);
    std::string DescribeMenus() const;
    std::string DescribeSelection() const;

    const std::vector<std::string>& Report() const { return report; }
    std::vector<std::string>& CallLog() override { return callLog; }
    bool KeptInMemory() const { return keepInMemory; }

    struct Palette {
        APIPaletteControlCallBackProc callback = nullptr;
        GSFlags flags = 0;
        API_Guid guid{};
    };
    const std::map<GS::Int32, Palette>& Palettes() const { return palettes; }

    // Sends a project event to the add-on when its mask asks for it.
    void SendProjectEvent(API_NotifyEventID event);

    // Sends a palette message (1 to 7) through the callback registered under the reference id.
    // For message 7 *visible receives the palette's answer. False when no palette has the id.
    bool SendPaletteMessage(GS::Int32 referenceId, API_PaletteMessageID message, bool* visible,
                            std::string* error);

    // The user's changes of the model (see Model.hpp). The add-on is not told of a changed figure:
    // its quantities are then out of date. Deleting drops the removed elements from the selection,
    // and when that changes it the add-on hears of it as of the user's own selection change.
    bool SetElementFigure(const GS::Guid& guid, const std::string& field, const Json& value, std::string* error);
    bool DeleteElement(const GS::Guid& guid, std::vector<GS::Guid>* removed, std::string* error);

private:
    friend struct HostCalls;

    Json project;
    std::string projectPath;
    API_FunctionTable table{};
    std::vector<GS::Guid> selection;
    struct Failure {
        Operation op;
        std::string guid;
        GSErrCode code;
    };
    std::vector<Failure> failures;

    AddOnState addOn;
    void* library = nullptr;
    std::vector<Menu> menus;
    std::map<GS::Int32, Palette> palettes;
    GSFlags eventMask = 0;
    APIProjectEventHandlerProc eventHandler = nullptr;
    APISelectionChangeHandlerProc selectionHandler = nullptr;
    std::vector<std::string> report;
    std::vector<std::string> callLog;
    bool keepInMemory = false;
};

std::string Base64Encode(const std::vector<unsigned char>& bytes);
std::optional<std::vector<unsigned char>> Base64Decode(const std::string& text);
// The room the bytes of a base64 text may take, and the decoding into that room: the number of
// bytes, or nothing when the text is not base64.
std::size_t Base64DecodedRoom(const std::string& text);
std::optional<std::size_t> Base64DecodeInto(const std::string& text, unsigned char* out);

}  // namespace Host
