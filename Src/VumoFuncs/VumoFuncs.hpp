#pragma once
#include "GSRoot/UniString.hpp"

// Item index (from 1) of one of the add-on's own string lists; empty when it does not exist.
GS::UniString GetResString(GS::Int16 listId, GS::Int16 index);
