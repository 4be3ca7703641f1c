#pragma once
#include <cstddef>
#include <string>

#include "GSRoot/UniString.hpp"

// Resource modules: string lists (and dialog resources) of a module, loaded from a JSON text
// {"strings": {"<list id>": ["item 1", ...]}, "dialogs": {"<id>": {...}}}.
using GSResModule = GS::Int32;
constexpr GSResModule InvalidResModule = 0;

// Returns InvalidResModule when the text is not a resource module.
GSResModule RSOpenModuleFromData(const char* data, std::size_t length);
void RSCloseModule(GSResModule module);
bool RSIsModuleOpen(GSResModule module);

// Item index counts from 1; false (and the string left alone) when the list or item is missing.
bool RSGetIndString(GS::UniString* str, GS::Int16 listId, GS::Int32 index, GSResModule module, GS::Int32 kind = 0);
bool RSGetIndString_ParamAdapter(GS::UniString* str, GS::Int16 listId, GS::Int32 index, GSResModule module,
                                 GS::Int32 kind, const char* sourceFile, GS::Int32 sourceLine);
// Number of items of a list, 0 when missing.
GS::Int32 RSGetStringListSize(GS::Int16 listId, GSResModule module);
// A dialog resource as JSON text; false when missing.
bool RSGetDialogResource(GS::Int16 dialogId, GSResModule module, std::string* jsonText);
// The name of an icon of a module ({"icons": {"<id>": "name"}}); false when missing.
bool RSGetIconName(GS::Int32 iconId, GSResModule module, std::string* name);
// The module a loaded file (a shared library) opened from its own data; how the host reads an add-on's resources.
GSResModule RSFindModuleOfFile(const char* path);
