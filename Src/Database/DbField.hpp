#pragma once
#include <cstddef>

#include "GSRoot/Array.hpp"
#include "GSRoot/Definitions.hpp"

// Column types as the table objects declare them. LongText is stored and bound like Text.
enum DbFieldType : GS::Int32 {
    DbFieldText = 0,
    DbFieldInteger = 1,
    DbFieldReal = 2,
    DbFieldLongText = 3
};

// One column of a table; the name is spliced into SQL text, so it must be a plain ASCII identifier.
struct DbField {
    char name[40];
    GS::Int32 type;
};

// A table's column list, from its fixed description.
template <std::size_t N>
GS::Array<DbField> MakeFieldList(const DbField (&fields)[N])
{
    GS::Array<DbField> list;
    for (const DbField& field : fields)
        list.Push(field);
    return list;
}
