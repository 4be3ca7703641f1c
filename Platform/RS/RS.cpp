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
}  // namespace

GSResModule RSOpenModuleFromData(const char* data, std::size_t length)
{
    Module module;
    try {
        auto doc = nlohmann::json::parse(data, data + length);
        if (!doc.is_object())
            return InvalidResModule;
        if (doc.contains("strings")) {
            for (auto& [key, list] : doc["strings"].items()) {
                GS::Int32 id;
                if (!ParseId(key, &id) || !list.is_array())
                    return InvalidResModule;
                auto& items = module.strings[id];
                for (auto& item : list)
                    items.push_back(GS::UniString(item.get<std::string>()));
            }
        }
        if (doc.contains("dialogs")) {
            for (auto& [key, dialog] : doc["dialogs"].items()) {
                GS::Int32 id;
                if (!ParseId(key, &id))
                    return InvalidResModule;
                module.dialogs[id] = dialog.dump();
            }
        }
        if (doc.contains("icons")) {
            for (auto& [key, name] : doc["icons"].items()) {
                GS::Int32 id;
                if (!ParseId(key, &id) || !name.is_string())
                    return InvalidResModule;
                module.icons[id] = name.get<std::string>();
            }
        }
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
    auto m = Modules().find(module);
    if (m == Modules().end())
        return false;
    auto list = m->second.strings.find(listId);
    if (list == m->second.strings.end() || index < 1 || static_cast<std::size_t>(index) > list->second.size())
        return false;
    *str = list->second[static_cast<std::size_t>(index) - 1];
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
    auto m = Modules().find(module);
    if (m == Modules().end())
        return 0;
    auto list = m->second.strings.find(listId);
    return list == m->second.strings.end() ? 0 : static_cast<GS::Int32>(list->second.size());
}

bool RSGetDialogResource(GS::Int16 dialogId, GSResModule module, std::string* jsonText)
{
    std::lock_guard<std::mutex> lock(modulesMutex);
    auto m = Modules().find(module);
    if (m == Modules().end())
        return false;
    auto d = m->second.dialogs.find(dialogId);
    if (d == m->second.dialogs.end())
        return false;
    if (jsonText != nullptr)
        *jsonText = d->second;
    return true;
}

bool RSGetIconName(GS::Int32 iconId, GSResModule module, std::string* name)
{
    std::lock_guard<std::mutex> lock(modulesMutex);
    auto m = Modules().find(module);
    if (m == Modules().end())
        return false;
    auto i = m->second.icons.find(iconId);
    if (i == m->second.icons.end())
        return false;
    if (name != nullptr)
        *name = i->second;
    return true;
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
