#pragma once
// Basic types of the host's root library, as our stand-in provides them.
#include <cstddef>
#include <cstdint>

namespace GS {
using Int8 = std::int8_t;
using UInt8 = std::uint8_t;
using Int16 = std::int16_t;
using UInt16 = std::uint16_t;
using Int32 = std::int32_t;
using UInt32 = std::uint32_t;
using Int64 = std::int64_t;
using UInt64 = std::uint64_t;
using USize = std::uint32_t;
using UIndex = std::uint32_t;
using UChar = unsigned char;
constexpr UIndex MaxUIndex = 0xFFFFFFFFu;
}  // namespace GS

using GS::Int16;
using GS::Int32;
using GS::Int64;
using GS::Int8;
using GS::UInt16;
using GS::UInt32;
using GS::UInt64;
using GS::UInt8;
using GS::UChar;

using GSErrCode = GS::Int32;
constexpr GSErrCode NoError = 0;
using GSSize = GS::Int64;
using GSFlags = GS::Int32;
using GSPtr = char*;
using GSConstPtr = const char*;
using GSHandle = char**;
using GSConstHandle = const char* const*;

// Character codes: every one of them is UTF-8 at the edges, so no text is lost.
enum GSCharCode : GS::Int32 {
    CC_Default = 0,
    CC_UTF8 = 4,
    CC_UTF8_Edge = 99
};
