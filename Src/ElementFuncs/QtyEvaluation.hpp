#pragma once
// A quantity against its linked element: formula evaluation, link status, displayed description.
// Qty is the database's entity and declares these operations; they are defined here, with the
// element functions they need.
#include "Database/Qty.hpp"
