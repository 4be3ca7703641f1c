#include "Palettes/PaletteSupport.hpp"

namespace {
GS::UInt32 LittleEndianWord(const GS::UInt8* b)
{
    return GS::UInt32(b[0]) | (GS::UInt32(b[1]) << 8) | (GS::UInt32(b[2]) << 16) | (GS::UInt32(b[3]) << 24);
}
}  // namespace

GS::Int32 PaletteRefIdFromGuid(const API_Guid& guid)
{
    GS::UInt8 bytes[16];
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<GS::UInt8>(guid.time_low >> (8 * i));
    bytes[4] = static_cast<GS::UInt8>(guid.time_mid);
    bytes[5] = static_cast<GS::UInt8>(guid.time_mid >> 8);
    bytes[6] = static_cast<GS::UInt8>(guid.time_hi_and_version);
    bytes[7] = static_cast<GS::UInt8>(guid.time_hi_and_version >> 8);
    bytes[8] = guid.clock_seq[0];
    bytes[9] = guid.clock_seq[1];
    for (int i = 0; i < 6; ++i)
        bytes[10 + i] = guid.node[i];
    GS::UInt32 sum = 0;
    for (int word = 0; word < 4; ++word)
        sum += LittleEndianWord(bytes + 4 * word);
    return static_cast<GS::Int32>(sum);
}

void SetPaletteMenuCheck(GS::Int16 menuResID, GS::Int32 itemIndex, bool checked)
{
    const API_MenuItemRef ref{menuResID, itemIndex};
    // After a failed read the flags are written back from 0.
    GSFlags flags = 0;
    HostGetMenuItemFlags(&ref, &flags);
    if (checked)
        flags |= API_MenuItemChecked;
    else
        flags &= ~API_MenuItemChecked;
    HostSetMenuItemFlags(&ref, &flags);
}
