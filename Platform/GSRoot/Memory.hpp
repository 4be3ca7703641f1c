#pragma once
#include "GSRoot/Definitions.hpp"

// The host's memory manager: relocatable handles and plain pointers.
GSHandle BMAllocateHandle(GSSize size, GSFlags flags = 0, GSFlags reserved = 0);
GSSize BMGetHandleSize(GSConstHandle handle);
GSHandle BMReallocHandle(GSHandle handle, GSSize newSize, GSFlags flags = 0, GSFlags reserved = 0);
void BMKillHandle(GSHandle* handle);
GSPtr BMAllocatePtr(GSSize size, GSFlags flags = 0, GSFlags reserved = 0);
GSSize BMGetPtrSize(GSConstPtr ptr);
void BMKillPtr(GSPtr* ptr);
void BNCopyMemory(void* dst, const void* src, GSSize size);
void BNZeroMemory(void* dst, GSSize size);

namespace GS {
// Live handles and pointers, so tests can see that everything handed out came back.
Int64 LiveHandleCount();
Int64 LivePtrCount();
}  // namespace GS
