#include "Host/StandInHost.hpp"

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "GSRoot/Memory.hpp"
#include "Host/ElementOps.hpp"
#include "Host/Model.hpp"
#include "RS/RS.hpp"

namespace Host {

namespace {
StandInHost* activeHost = nullptr;

Json EmptyProject()
{
    Json p;
    p["model"] = Json::object();
    p["projectInfo"] = Json::array();
    p["moduleData"] = Json::object();
    return p;
}

// Menu texts carry the host's availability suffix: "^E" codes at the end.
std::string StripAvailability(const std::string& text)
{
    std::string s = text;
    while (s.size() >= 3 && s[s.size() - 3] == '^' && s[s.size() - 2] == 'E')
        s.resize(s.size() - 3);
    return s;
}

bool HasAvailability(const std::string& text) { return StripAvailability(text) != text; }

std::string ResString(GSResModule module, GS::Int16 list, GS::Int32 index, bool* found)
{
    GS::UniString s;
    *found = RSGetIndString(&s, list, index, module, 0);
    return s.ToUtf8();
}

// A switch, so the compiler names an operation left without its name.
const char* OperationName(Operation op)
{
    switch (op) {
        case Operation::GetModuleData: return "HostGetModuleData";
        case Operation::StoreModuleData: return "HostStoreModuleData";
        case Operation::GetAutoTexts: return "HostGetAutoTexts";
        case Operation::GetSelection: return "HostGetSelection";
        case Operation::SelectElements: return "HostSelectElements";
        case Operation::ZoomToElements: return "HostZoomToElements";
        case Operation::GetElement: return "HostGetElement";
        case Operation::GetElementHeader: return "HostGetElementHeader";
        case Operation::GetElementMemo: return "HostGetElementMemo";
        case Operation::GetElementQuantities: return "HostGetElementQuantities";
        case Operation::GetElementInfoString: return "HostGetElementInfoString";
        case Operation::GetElementPropertyDefinitions: return "HostGetElementPropertyDefinitions";
        case Operation::GetElementProperty: return "HostGetElementProperty";
        case Operation::GetElementProperties: return "HostGetElementProperties";
        case Operation::IsValidPropertyValue: return "HostIsValidPropertyValue";
        case Operation::GetAttribute: return "HostGetAttribute";
        case Operation::GetAttributeDef: return "HostGetAttributeDef";
        case Operation::GetAttributeDefExt: return "HostGetAttributeDefExt";
        case Operation::GetPen: return "HostGetPen";
        case Operation::GetCurrentDatabase: return "HostGetCurrentDatabase";
        case Operation::ChangeDatabase: return "HostChangeDatabase";
        case Operation::GetContainingDatabase: return "HostGetContainingDatabase";
        case Operation::GetStorySettings: return "HostGetStorySettings";
        case Operation::GetLibPartParams: return "HostGetLibPartParams";
        case Operation::Count: break;
    }
    return "";
}
}  // namespace

// The plain functions behind the table's slots.
struct HostCalls {
    static StandInHost* H() { return activeHost; }

    static GSErrCode RegisterMenu(GS::Int16 menuResID, GS::Int16 promptResID, GS::Int32, GSFlags)
    {
        StandInHost* h = H();
        if (h == nullptr)
            return APIERR_GENERAL;
        // An add-on linked into the host's own program (as in tests) has its resources there.
        GSResModule module = RSFindModuleOfFile(h->addOn.path.empty() ? "/proc/self/exe" : h->addOn.path.c_str());
        Menu menu;
        menu.menuId = menuResID;
        menu.promptId = promptResID;
        GS::Int32 count = RSGetStringListSize(menuResID, module);
        if (count == 0)
            return APIERR_BADID;
        for (GS::Int32 i = 1; i <= count; ++i) {
            bool found;
            std::string raw = ResString(module, menuResID, i, &found);
            if (!HasAvailability(raw) && menu.entries.empty()) {
                menu.titles.push_back(raw);
                continue;
            }
            MenuEntry entry;
            entry.index = static_cast<GS::Int32>(menu.entries.size()) + 1;
            entry.rawText = raw;
            entry.text = StripAvailability(raw);
            entry.prompt = ResString(module, promptResID, i, &found);
            menu.entries.push_back(entry);
        }
        for (auto& m : h->menus)
            if (m.menuId == menuResID) {
                m = menu;
                return NoError;
            }
        h->menus.push_back(menu);
        return NoError;
    }

    static Menu* FindMenu(GS::Int16 id)
    {
        for (auto& m : H()->menus)
            if (m.menuId == id)
                return &m;
        return nullptr;
    }

    static GSErrCode InstallMenuHandler(GS::Int16 menuResID, APIMenuCommandProc handler)
    {
        Menu* m = H() ? FindMenu(menuResID) : nullptr;
        if (m == nullptr)
            return APIERR_BADID;
        m->handler = handler;
        return NoError;
    }

    static MenuEntry* FindEntry(const API_MenuItemRef* ref)
    {
        if (ref == nullptr || H() == nullptr)
            return nullptr;
        Menu* m = FindMenu(ref->menuResID);
        if (m == nullptr || ref->itemIndex < 1 || ref->itemIndex > static_cast<GS::Int32>(m->entries.size()))
            return nullptr;
        return &m->entries[ref->itemIndex - 1];
    }

    static GSErrCode GetMenuItemFlags(const API_MenuItemRef* ref, GSFlags* flags)
    {
        MenuEntry* e = FindEntry(ref);
        if (e == nullptr || flags == nullptr)
            return APIERR_BADPARS;
        *flags = e->flags;
        return NoError;
    }

    static GSErrCode SetMenuItemFlags(const API_MenuItemRef* ref, GSFlags* flags)
    {
        MenuEntry* e = FindEntry(ref);
        if (e == nullptr || flags == nullptr)
            return APIERR_BADPARS;
        e->flags = *flags;
        return NoError;
    }

    static GSErrCode RegisterPalette(GS::Int32 ref, APIPaletteControlCallBackProc cb, GSFlags flags, const API_Guid* g)
    {
        if (H() == nullptr || cb == nullptr)
            return APIERR_BADPARS;
        H()->palettes[ref] = StandInHost::Palette{cb, flags, g != nullptr ? *g : APINULLGuid};
        return NoError;
    }

    static GSErrCode UnregisterPalette(GS::Int32 ref)
    {
        if (H() == nullptr || H()->palettes.erase(ref) == 0)
            return APIERR_BADID;
        return NoError;
    }

    static void KeepInMemory(bool keep)
    {
        if (H() != nullptr)
            H()->keepInMemory = keep;
    }

    static GSErrCode CatchProjectEvent(GSFlags mask, APIProjectEventHandlerProc handler)
    {
        if (H() == nullptr)
            return APIERR_GENERAL;
        H()->eventMask = handler != nullptr ? mask : 0;
        H()->eventHandler = handler;
        return NoError;
    }

    static GSErrCode CatchSelectionChange(APISelectionChangeHandlerProc handler)
    {
        if (H() == nullptr)
            return APIERR_GENERAL;
        H()->selectionHandler = handler;
        return NoError;
    }

    static GSErrCode GetModuleData(API_ModulData* info, const GS::UniString* name)
    {
        GSErrCode code;
        if (H() == nullptr || info == nullptr || name == nullptr)
            return APIERR_BADPARS;
        if (H()->ShouldFail(Operation::GetModuleData, nullptr, &code))
            return code;
        const Json& data = H()->project["moduleData"];
        const auto entry = data.find(name->ToUtf8());
        if (entry == data.end())
            return APIERR_NOMODULEDATA;
        if (!entry->is_string())
            return APIERR_GENERAL;
        // Decoded straight into the handle, which is cut to the size then.
        const std::string& text = entry->get_ref<const std::string&>();
        GSHandle handle = BMAllocateHandle(static_cast<GSSize>(Base64DecodedRoom(text)));
        if (handle == nullptr)
            return APIERR_GENERAL;
        const std::optional<std::size_t> size = Base64DecodeInto(text, reinterpret_cast<unsigned char*>(*handle));
        if (!size.has_value() || BMReallocHandle(handle, static_cast<GSSize>(*size)) == nullptr) {
            BMKillHandle(&handle);
            return APIERR_GENERAL;
        }
        info->dataVersion = 1;
        info->platformSign[0] = 'W';
        info->platformSign[1] = 'W';
        info->dataHdl = handle;
        return NoError;
    }

    static GSErrCode StoreModuleData(const API_ModulData* info, const GS::UniString* name)
    {
        GSErrCode code;
        if (H() == nullptr || info == nullptr || name == nullptr)
            return APIERR_BADPARS;
        if (H()->ShouldFail(Operation::StoreModuleData, nullptr, &code))
            return code;
        std::vector<unsigned char> bytes;
        if (info->dataHdl != nullptr) {
            GSSize size = BMGetHandleSize(info->dataHdl);
            bytes.assign(*info->dataHdl, *info->dataHdl + size);
        }
        H()->SetModuleData(name->ToUtf8(), bytes);
        H()->callLog.push_back("StoreModuleData " + name->ToUtf8() + " " + std::to_string(bytes.size()));
        return NoError;
    }

    static GSErrCode GetAutoTexts(GS::Array<GS::ArrayFB<GS::UniString, 3>>* texts, GS::Int32)
    {
        GSErrCode code;
        if (H() == nullptr || texts == nullptr)
            return APIERR_BADPARS;
        if (H()->ShouldFail(Operation::GetAutoTexts, nullptr, &code))
            return code;
        texts->Clear();
        const Json& info = H()->project["projectInfo"];
        if (!info.is_array())
            return NoError;
        for (const auto& entry : info) {
            GS::ArrayFB<GS::UniString, 3> triple;
            triple.Push(GS::UniString(entry.value("description", "")));
            triple.Push(GS::UniString(entry.value("key", "")));
            triple.Push(GS::UniString(entry.value("value", "")));
            texts->Push(triple);
        }
        return NoError;
    }

    static API_WindowHandle GetMainWindow()
    {
        static int mainWindow;
        return H() != nullptr ? &mainWindow : nullptr;
    }

    static void WriteReport(const char* text, bool withAlert)
    {
        if (H() != nullptr && text != nullptr)
            H()->report.push_back(std::string(withAlert ? "[alert] " : "") + text);
    }

    static GSErrCode GetSelection(API_SelectionInfo* info, GS::Array<API_Neig>* neigs, bool)
    {
        GSErrCode code;
        if (H() == nullptr)
            return APIERR_GENERAL;
        if (H()->ShouldFail(Operation::GetSelection, nullptr, &code))
            return code;
        if (info != nullptr)
            *info = API_SelectionInfo{0, 0, 0};
        if (neigs != nullptr)
            neigs->Clear();
        if (H()->selection.empty())
            return APIERR_NOSEL;
        for (const auto& g : H()->selection) {
            API_Neig neig{};
            neig.neigID = ElementTypeOf(g);
            neig.guid = GSGuid2APIGuid(g);
            if (neigs != nullptr)
                neigs->Push(neig);
        }
        if (info != nullptr) {
            info->typeID = 1;
            info->sel_nElem = static_cast<GS::Int32>(H()->selection.size());
            info->sel_nElemEdit = info->sel_nElem;
        }
        return NoError;
    }

    static GSErrCode SelectElements(const GS::Array<API_Neig>* neigs, bool add)
    {
        GSErrCode code;
        if (H() == nullptr || neigs == nullptr)
            return APIERR_BADPARS;
        if (H()->ShouldFail(Operation::SelectElements, nullptr, &code))
            return code;
        std::vector<GS::Guid> next = add ? H()->selection : std::vector<GS::Guid>();
        for (const auto& n : *neigs) {
            GS::Guid g = APIGuid2GSGuid(n.guid);
            if (std::find(next.begin(), next.end(), g) == next.end())
                next.push_back(g);
        }
        H()->Select(next);
        return NoError;
    }

    static GSErrCode ZoomToElements(const GS::Array<API_Guid>* guids)
    {
        GSErrCode code;
        if (H() == nullptr || guids == nullptr)
            return APIERR_BADPARS;
        if (H()->ShouldFail(Operation::ZoomToElements, nullptr, &code))
            return code;
        std::string line = "ZoomToElements";
        for (const auto& g : *guids)
            line += " " + APIGuid2GSGuid(g).ToString();
        H()->callLog.push_back(line);
        return NoError;
    }
};

StandInHost::StandInHost() : project(EmptyProject())
{
    std::memset(&table, 0, sizeof table);
    SetEntry(Slot_RegisterMenu, reinterpret_cast<void*>(&HostCalls::RegisterMenu));
    SetEntry(Slot_InstallMenuHandler, reinterpret_cast<void*>(&HostCalls::InstallMenuHandler));
    SetEntry(Slot_GetMenuItemFlags, reinterpret_cast<void*>(&HostCalls::GetMenuItemFlags));
    SetEntry(Slot_SetMenuItemFlags, reinterpret_cast<void*>(&HostCalls::SetMenuItemFlags));
    SetEntry(Slot_RegisterPalette, reinterpret_cast<void*>(&HostCalls::RegisterPalette));
    SetEntry(Slot_UnregisterPalette, reinterpret_cast<void*>(&HostCalls::UnregisterPalette));
    SetEntry(Slot_KeepInMemory, reinterpret_cast<void*>(&HostCalls::KeepInMemory));
    SetEntry(Slot_CatchProjectEvent, reinterpret_cast<void*>(&HostCalls::CatchProjectEvent));
    SetEntry(Slot_CatchSelectionChange, reinterpret_cast<void*>(&HostCalls::CatchSelectionChange));
    SetEntry(Slot_GetModuleData, reinterpret_cast<void*>(&HostCalls::GetModuleData));
    SetEntry(Slot_StoreModuleData, reinterpret_cast<void*>(&HostCalls::StoreModuleData));
    SetEntry(Slot_GetAutoTexts, reinterpret_cast<void*>(&HostCalls::GetAutoTexts));
    SetEntry(Slot_GetMainWindow, reinterpret_cast<void*>(&HostCalls::GetMainWindow));
    SetEntry(Slot_WriteReport, reinterpret_cast<void*>(&HostCalls::WriteReport));
    SetEntry(Slot_GetSelection, reinterpret_cast<void*>(&HostCalls::GetSelection));
    SetEntry(Slot_SelectElements, reinterpret_cast<void*>(&HostCalls::SelectElements));
    SetEntry(Slot_ZoomToElements, reinterpret_cast<void*>(&HostCalls::ZoomToElements));
    InstallElementOperations(table.entries);
    activeHost = this;
    ElementOpsHost::SetActive(this);
}

StandInHost::~StandInHost()
{
    UnloadAddOn();
    if (activeHost == this) {
        activeHost = nullptr;
        ElementOpsHost::SetActive(nullptr);
    }
}

StandInHost* StandInHost::Active() { return activeHost; }

void StandInHost::SendProjectEvent(API_NotifyEventID event)
{
    callLog.push_back("ProjectEvent " + std::to_string(event));
    if (eventHandler != nullptr && (eventMask & event) != 0)
        eventHandler(event, 0);
}

bool StandInHost::SendPaletteMessage(GS::Int32 referenceId, API_PaletteMessageID message, bool* visible,
                                     std::string* error)
{
    auto it = palettes.find(referenceId);
    if (it == palettes.end()) {
        if (error != nullptr)
            *error = "no palette is registered with reference id " + std::to_string(referenceId);
        return false;
    }
    bool answer = false;
    GS::Int64 param = message == APIPalMsg_IsPaletteVisible ? reinterpret_cast<GS::Int64>(&answer) : 0;
    callLog.push_back("PaletteMessage " + std::to_string(referenceId) + " " + std::to_string(message));
    it->second.callback(referenceId, message, param);
    if (visible != nullptr)
        *visible = answer;
    return true;
}

bool StandInHost::SetElementFigure(const GS::Guid& guid, const std::string& field, const Json& value,
                                   std::string* error)
{
    return Host::SetElementFigure(Model(), guid, field, value, error);
}

bool StandInHost::DeleteElement(const GS::Guid& guid, std::vector<GS::Guid>* removed, std::string* error)
{
    std::vector<GS::Guid> gone = Host::DeleteElement(Model(), guid);
    if (removed != nullptr)
        *removed = gone;
    if (gone.empty()) {
        if (error != nullptr)
            *error = "no element " + guid.ToString();
        return false;
    }
    std::vector<GS::Guid> kept;
    for (const auto& g : selection) {
        if (std::find(gone.begin(), gone.end(), g) == gone.end())
            kept.push_back(g);
    }
    if (kept.size() != selection.size())
        Select(kept);
    return true;
}

void StandInHost::NewProject()
{
    // The add-on hears of it while the old project is still in place, so what it stores then
    // cannot leak into the new one.
    SendProjectEvent(APINotify_New);
    project = EmptyProject();
    projectPath.clear();
    selection.clear();
}

bool StandInHost::OpenProject(const std::string& path, std::string* error)
{
    Json loaded;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error != nullptr)
            *error = "cannot open project file '" + path + "'";
        return false;
    }
    try {
        loaded = Json::parse(in);
    } catch (const std::exception& e) {
        if (error != nullptr)
            *error = "project file '" + path + "' is not valid JSON: " + e.what();
        return false;
    }
    if (!loaded.is_object()) {
        if (error != nullptr)
            *error = "project file '" + path + "' does not hold a project";
        return false;
    }
    SendProjectEvent(APINotify_Close);
    SetProject(loaded);
    projectPath = path;
    SendProjectEvent(APINotify_Open);
    return true;
}

void StandInHost::SetProject(const Json& newProject)
{
    project = newProject;
    for (const char* key : {"model", "moduleData"})
        if (!project.contains(key) || !project[key].is_object())
            project[key] = Json::object();
    if (!project.contains("projectInfo") || !project["projectInfo"].is_array())
        project["projectInfo"] = Json::array();
    selection.clear();
    if (project["model"].contains("selection"))
        for (const auto& g : project["model"]["selection"])
            if (g.is_string())
                selection.push_back(GS::Guid(g.get<std::string>().c_str()));
}

void StandInHost::CloseProject()
{
    SendProjectEvent(APINotify_Close);
    project = EmptyProject();
    projectPath.clear();
    selection.clear();
}

bool StandInHost::SaveProject(const std::string& path, std::string* error)
{
    std::string target = path.empty() ? projectPath : path;
    if (target.empty()) {
        if (error != nullptr)
            *error = "the project has no file yet: name one";
        return false;
    }
    std::string tmp = target + ".tmp";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) {
            if (error != nullptr)
                *error = "cannot write '" + target + "'";
            return false;
        }
        out << project.dump(2) << '\n';
        if (!out.good()) {
            if (error != nullptr)
                *error = "cannot write '" + target + "'";
            return false;
        }
    }
    if (std::rename(tmp.c_str(), target.c_str()) != 0) {
        if (error != nullptr)
            *error = "cannot replace '" + target + "'";
        return false;
    }
    projectPath = target;
    return true;
}

std::optional<std::vector<unsigned char>> StandInHost::ModuleData(const std::string& name) const
{
    const Json& data = project["moduleData"];
    if (!data.is_object())
        return std::nullopt;
    const auto entry = data.find(name);
    if (entry == data.end() || !entry->is_string())
        return std::nullopt;
    return Base64Decode(entry->get_ref<const std::string&>());
}

void StandInHost::SetModuleData(const std::string& name, const std::vector<unsigned char>& bytes)
{
    project["moduleData"][name] = Base64Encode(bytes);
}

void StandInHost::FailOperation(const std::string& op, const std::string& guidText, GSErrCode code)
{
    std::string known;
    for (int i = 0; i < static_cast<int>(Operation::Count); ++i) {
        const Operation candidate = static_cast<Operation>(i);
        if (op == OperationName(candidate)) {
            failures.push_back(
                Failure{candidate, guidText.empty() ? "" : GS::Guid(guidText.c_str()).ToString(), code});
            return;
        }
        known += (i > 0 ? ", " : "") + std::string(OperationName(candidate));
    }
    throw std::invalid_argument("unknown operation '" + op + "'; the known operations are " + known);
}

bool StandInHost::ShouldFail(Operation op, const API_Guid* guid, GSErrCode* code) const
{
    for (const auto& f : failures) {
        if (f.op != op)
            continue;
        if (!f.guid.empty() && (guid == nullptr || APIGuid2GSGuid(*guid).ToString() != f.guid))
            continue;
        if (code != nullptr)
            *code = f.code;
        return true;
    }
    return false;
}

void StandInHost::Select(const std::vector<GS::Guid>& guids)
{
    selection = guids;
    Json list = Json::array();
    for (const auto& g : guids)
        list.push_back(g.ToString());
    project["model"]["selection"] = list;
    if (selectionHandler != nullptr) {
        API_Neig neig{};
        if (!guids.empty()) {
            neig.neigID = ElementTypeOf(guids.front());
            neig.guid = GSGuid2APIGuid(guids.front());
        }
        selectionHandler(&neig);
    }
}

bool StandInHost::LoadAddOn(const std::string& path, std::string* error)
{
    auto fail = [&](const std::string& message) {
        if (error != nullptr)
            *error = message;
        if (library != nullptr)
            dlclose(library);
        library = nullptr;
        addOn = AddOnState();
        return false;
    };
    if (library != nullptr)
        return fail("an add-on is loaded already");
    library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return fail(std::string("cannot load the add-on: ") + dlerror());
    using GetExportsFn = GS::Int32 (*)(API_ExportedFuncs*);
    using SetImportsFn = GS::Int32 (*)(const void*);
    auto getExports = reinterpret_cast<GetExportsFn>(dlsym(library, "GetExportedFuncAddrs"));
    auto setImports = reinterpret_cast<SetImportsFn>(dlsym(library, "SetImportedFuncAddrs"));
    if (getExports == nullptr || setImports == nullptr)
        return fail("the library does not export GetExportedFuncAddrs and SetImportedFuncAddrs");
    addOn.path = path;
    getExports(&addOn.exports);
    if (addOn.exports.signature != kExportSignature || addOn.exports.apiVersion != kApiVersion)
        return fail("the add-on was built for another API version");
    setImports(&table);
    API_EnvirParams envir;
    if (addOn.exports.checkEnvironment == nullptr || addOn.exports.checkEnvironment(&envir) <= 0)
        return fail("the add-on refused the environment and is not loaded");
    addOn.name = envir.addOnName.ToUtf8();
    addOn.description = envir.addOnDescription.ToUtf8();
    if (addOn.exports.registerInterface != nullptr)
        addOn.exports.registerInterface();
    GSErrCode err = addOn.exports.initialize != nullptr ? addOn.exports.initialize() : NoError;
    callLog.push_back("Initialize " + std::to_string(err));
    addOn.loaded = true;
    return true;
}

void StandInHost::UnloadAddOn()
{
    if (library == nullptr)
        return;
    if (addOn.loaded && addOn.exports.freeData != nullptr)
        addOn.exports.freeData();
    dlclose(library);
    library = nullptr;
    addOn = AddOnState();
    menus.clear();
    palettes.clear();
    eventMask = 0;
    eventHandler = nullptr;
    selectionHandler = nullptr;
}

bool StandInHost::ChooseMenu(GS::Int16 menuId, GS::Int32 entry, std::string* error)
{
    for (const auto& m : menus) {
        if (m.menuId != menuId)
            continue;
        if (entry < 1 || entry > static_cast<GS::Int32>(m.entries.size())) {
            if (error != nullptr)
                *error = "menu " + std::to_string(menuId) + " has no entry " + std::to_string(entry);
            return false;
        }
        if (m.handler != nullptr) {
            API_MenuParams params{menuId, entry};
            m.handler(&params);
        }
        return true;
    }
    if (error != nullptr)
        *error = "no menu " + std::to_string(menuId);
    return false;
}

bool StandInHost::ChooseMenuByText(const std::string& text, std::string* error)
{
    for (const auto& m : menus)
        for (const auto& e : m.entries)
            if (e.text == text)
                return ChooseMenu(m.menuId, e.index, error);
    if (error != nullptr)
        *error = "no menu entry '" + text + "'";
    return false;
}

std::string StandInHost::DescribeMenus() const
{
    std::ostringstream out;
    for (const auto& m : menus) {
        out << "menu " << m.menuId;
        for (const auto& t : m.titles)
            out << " > " << t;
        out << '\n';
        for (const auto& e : m.entries) {
            out << "  " << e.index << ". " << e.text;
            if (e.flags & API_MenuItemChecked)
                out << " [checked]";
            if (!e.prompt.empty())
                out << "  -- " << e.prompt;
            out << '\n';
        }
    }
    return out.str();
}

std::string StandInHost::DescribeSelection() const
{
    std::ostringstream out;
    out << "selection: " << selection.size() << " element(s)\n";
    for (const auto& g : selection)
        out << "  " << g.ToString() << " type " << ElementTypeOf(g) << '\n';
    return out.str();
}

std::string Base64Encode(const std::vector<unsigned char>& bytes)
{
    static const char* chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        unsigned v = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        out += chars[v >> 18];
        out += chars[(v >> 12) & 63];
        out += chars[(v >> 6) & 63];
        out += chars[v & 63];
    }
    if (i + 1 == bytes.size()) {
        unsigned v = bytes[i] << 16;
        out += chars[v >> 18];
        out += chars[(v >> 12) & 63];
        out += "==";
    } else if (i + 2 == bytes.size()) {
        unsigned v = (bytes[i] << 16) | (bytes[i + 1] << 8);
        out += chars[v >> 18];
        out += chars[(v >> 12) & 63];
        out += chars[(v >> 6) & 63];
        out += '=';
    }
    return out;
}

std::size_t Base64DecodedRoom(const std::string& text)
{
    return text.size() / 4 * 3 + 3;
}

std::optional<std::size_t> Base64DecodeInto(const std::string& text, unsigned char* out)
{
    // A digit's value, or one of: skipped (blanks and line breaks), padding, not base64.
    enum : unsigned char { Skipped = 64, Padding = 65, Invalid = 66 };
    static const std::array<unsigned char, 256> values = [] {
        std::array<unsigned char, 256> table;
        table.fill(Invalid);
        const char* digits = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (unsigned char i = 0; i < 64; ++i)
            table[static_cast<unsigned char>(digits[i])] = i;
        table['\n'] = table['\r'] = table[' '] = Skipped;
        table['='] = Padding;
        return table;
    }();
    unsigned char* to = out;
    const auto* from = reinterpret_cast<const unsigned char*>(text.data());
    const auto* const end = from + text.size();
    unsigned buffer = 0;
    int bits = 0;
    std::size_t padding = 0;
    while (from != end) {
        // Groups of four digits, on a byte boundary, make three bytes each.
        while (bits == 0 && padding == 0 && end - from >= 4) {
            const unsigned a = values[from[0]], b = values[from[1]], c = values[from[2]], d = values[from[3]];
            if ((a | b | c | d) >= 64)
                break;
            const unsigned v = a << 18 | b << 12 | c << 6 | d;
            to[0] = static_cast<unsigned char>(v >> 16);
            to[1] = static_cast<unsigned char>(v >> 8);
            to[2] = static_cast<unsigned char>(v);
            to += 3;
            from += 4;
        }
        if (from == end)
            break;
        const unsigned v = values[*from++];
        if (v == Padding) {
            ++padding;
            continue;
        }
        if (v == Skipped)
            continue;
        if (v == Invalid || padding > 0)
            return std::nullopt;
        buffer = (buffer << 6) | v;
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            *to++ = static_cast<unsigned char>(buffer >> bits);
        }
    }
    if (padding > 2)
        return std::nullopt;
    return static_cast<std::size_t>(to - out);
}

std::optional<std::vector<unsigned char>> Base64Decode(const std::string& text)
{
    std::vector<unsigned char> out(Base64DecodedRoom(text));
    const std::optional<std::size_t> size = Base64DecodeInto(text, out.data());
    if (!size.has_value())
        return std::nullopt;
    out.resize(*size);
    return out;
}

}  // namespace Host
