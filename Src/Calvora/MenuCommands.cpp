#include "Calvora/MenuCommands.hpp"

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
