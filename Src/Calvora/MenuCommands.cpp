#include "Calvora/MenuCommands.hpp"

#include "HostApi/Guard.hpp"
#include "Palettes/CalvoraPalette.hpp"
#include "Palettes/ElementItemsPalette.hpp"

void DoShowCalvoraPalette()
{
    CalvoraPalette::ToggleFromMenu();
}

void DoShowElementItemsPalette()
{
    ElementItemsPalette::ToggleFromMenu();
}

void RefreshMainPalette(const char* where)
{
    Guarded(where, [] {
        if (CalvoraPalette::HasInstance())
            CalvoraPalette::GetInstance().RefreshCategories();
    });
}
