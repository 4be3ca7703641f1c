#include "RS/RS.hpp"

#include <dlfcn.h>
#include <climits>
#include <cstdlib>
#include <map>
#include <mutex>
#include <nlohmann/json.hpp>
#include <vector>

namespace {
struct Module {
    std::string ownerFile;  // the loaded file whose data the module was opened from
    std::map<GS::Int32, std::vector<GS::UniString>> strings;
    std::map<GS::Int32, std::string> dialogs;
    std::map<GS::Int32, std::string> icons;
};

std::map<GSResModule, Module>& Modules()
{
    static std::map<GSResModule, Module> modules;
    return modules;
}
std::mutex modulesMutex;
GSResModule nextModule = 1;

bool ParseId(const std::string& key, GS::Int32* id)
{
    try {
        std::size_t used = 0;
        long v = std::stol(key, &used);
        if (used != key.size() || v < -32768 || v > 32767)
            return false;
        *id = static_cast<GS::Int32>(v);
        return true;
    } catch (...) {
        return false;
    }
}

// The entry of that id in one of a module's tables; null when either is missing. Under the lock.
template <typename Table>
const typename Table::mapped_type* Find(GSResModule module, Table Module::*table, GS::Int32 id)
{
    auto m = Modules().find(module);
    if (m == Modules().end())
        return nullptr;
    const Table& entries = m->second.*table;
    auto e = entries.find(id);
    return e == entries.end() ? nullptr : &e->second;
}
}  // namespace

GSResModule RSOpenModuleFromData(const char* data, std::size_t length)
{
    Module module;
    try {
        auto doc = nlohmann::json::parse(data, data + length);
        if (!doc.is_object())
            return InvalidResModule;
        // A table maps resource ids to entries; one bad id or entry spoils the module.
        auto read = [&](const char* table, auto take) {
            if (doc.contains(table))
                for (auto& [key, value] : doc[table].items()) {
                    GS::Int32 id;
                    if (!ParseId(key, &id) || !take(id, value))
                        return false;
                }
            return true;
        };
        const bool ok = read("strings",
                             [&](GS::Int32 id, const nlohmann::json& list) {
                                 if (!list.is_array())
                                     return false;
                                 auto& items = module.strings[id];
                                 for (auto& item : list)
                                     items.push_back(GS::UniString(item.get<std::string>()));
                                 return true;
                             }) &&
                        read("dialogs",
                             [&](GS::Int32 id, const nlohmann::json& dialog) {
                                 module.dialogs[id] = dialog.dump();
                                 return true;
                             }) &&
                        read("icons", [&](GS::Int32 id, const nlohmann::json& name) {
                            if (!name.is_string())
                                return false;
                            module.icons[id] = name.get<std::string>();
                            return true;
                        });
        if (!ok)
            return InvalidResModule;
    } catch (const std::exception&) {
        return InvalidResModule;
    }
    Dl_info info{};
    if (dladdr(data, &info) != 0 && info.dli_fname != nullptr) {
        char resolved[PATH_MAX];
        module.ownerFile = realpath(info.dli_fname, resolved) != nullptr ? resolved : info.dli_fname;
    }
    std::lock_guard<std::mutex> lock(modulesMutex);
    GSResModule id = nextModule++;
    Modules()[id] = std::move(module);
    return id;
}

void RSCloseModule(GSResModule module)
{
    std::lock_guard<std::mutex> lock(modulesMutex);
    Modules().erase(module);
}

bool RSIsModuleOpen(GSResModule module)
{
    std::lock_guard<std::mutex> lock(modulesMutex);
    return Modules().count(module) != 0;
}

bool RSGetIndString(GS::UniString* str, GS::Int16 listId, GS::Int32 index, GSResModule module, GS::Int32)
{
    if (str == nullptr)
        return false;
    std::lock_guard<std::mutex> lock(modulesMutex);
    const auto* list = Find(module, &Module::strings, listId);
    if (list == nullptr || index < 1 || static_cast<std::size_t>(index) > list->size())
        return false;
    *str = (*list)[static_cast<std::size_t>(index) - 1];
    return true;
}

bool RSGetIndString_ParamAdapter(GS::UniString* str, GS::Int16 listId, GS::Int32 index, GSResModule module,
                                 GS::Int32 kind, const char*, GS::Int32)
{
    return RSGetIndString(str, listId, index, module, kind);
}

GS::Int32 RSGetStringListSize(GS::Int16 listId, GSResModule module)
{
    std::lock_guard<std::mutex> lock(modulesMutex);
    const auto* list = Find(module, &Module::strings, listId);
    return list == nullptr ? 0 : static_cast<GS::Int32>(list->size());
}

bool RSGetDialogResource(GS::Int16 dialogId, GSResModule module, std::string* jsonText)
{
    std::lock_guard<std::mutex> lock(modulesMutex);
    const std::string* dialog = Find(module, &Module::dialogs, dialogId);
    if (dialog != nullptr && jsonText != nullptr)
        *jsonText = *dialog;
    return dialog != nullptr;
}

bool RSGetIconName(GS::Int32 iconId, GSResModule module, std::string* name)
{
    std::lock_guard<std::mutex> lock(modulesMutex);
    const std::string* icon = Find(module, &Module::icons, iconId);
    if (icon != nullptr && name != nullptr)
        *name = *icon;
    return icon != nullptr;
}

GSResModule RSFindModuleOfFile(const char* path)
{
    char resolved[PATH_MAX];
    std::string wanted = realpath(path, resolved) != nullptr ? resolved : path;
    std::lock_guard<std::mutex> lock(modulesMutex);
    for (auto it = Modules().rbegin(); it != Modules().rend(); ++it)
        if (it->second.ownerFile == wanted)
            return it->first;
    return InvalidResModule;
}
