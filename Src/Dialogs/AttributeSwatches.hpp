#pragma once
// Small pictures of attributes drawn into owner-drawn list cells: a building material as its cut
// fill beside its surface colour, and a fill as its pattern or gradient.
#include "API/ApiElements.hpp"
#include "DG/DGTypes.hpp"
#include "Graphix/Graphix.hpp"

// False (nothing drawn) for an index of 0 or below.
bool DrawBuildingMaterialSwatch(NewDisplay::NativeContext& context, const DG::Rect& rect, GS::Int32 buildingMaterial);
bool DrawFillSwatch(NewDisplay::NativeContext& context, const DG::Rect& rect, GS::Int32 fill,
                    const Gfx::Color& foreground, const Gfx::Color& background, const Gfx::Color& frame);
// Opaque, whatever the colour's alpha.
void FillRectWithColor(NewDisplay::NativeContext& context, const DG::Rect& rect, const Gfx::Color& color);
// Clears the record, sets its index and reads the pen; the host's error code.
GSErrCode GetPen(API_PenType* pen, GS::UInt16 penIndex);

// A host colour (0 to 1 per channel) as an opaque colour, each channel truncated.
Gfx::Color ToGfxColor(const API_RGBColor& rgb);
