#pragma once
#include <functional>

#include "GSRoot/UniString.hpp"

// An estimate item that a quantity linked to a model element feeds, with its category.
struct LinkedItem {
    GS::UniString categoryCode;
    GS::UniString categoryTitle;
    GS::UniString itemCode;
    GS::UniString itemDescription;
    GS::Int32 itemId = 0;
    GS::Int32 categoryId = 0;
};

// Visits each item that one or more quantities linked to the element with this guid text (as the
// qties table stores it) feed, once, in category and then item sort order. A database failure
// throws after the items visited so far.
void forEachLinkedItem(const GS::UniString& guidText, const std::function<void(const LinkedItem&)>& visit);
