#pragma once
#include "Database/Table.hpp"

class ItemsTable : public Table<Item> {
public:
    GS::UniString getTableName() const override;
    GS::Int32 getFieldCount() const override;
    GS::Array<DbField> getFields() const override;

    // Refuses an item whose category does not exist. A new item goes last in its category; an
    // existing one remembers its stored category in "__oldCategoryId" so both are rolled up.
    bool beforeSave(Item& item) override;
    bool afterSave(Item& item) override;
    // Reads the stored category and sort order, so the gap is closed where the row really was.
    bool beforeDelete(Item& item) override;
    // Deletes the item's quantities, closes the gap and rolls the category up.
    bool afterDelete(Item& item) override;

    // The category's items in sort order.
    GS::Array<Item> getByCategory(GS::Int32 categoryId);
    // 0 when the category has no items.
    GS::Int32 getMaxSortOrder(GS::Int32 categoryId);
    bool updateSortOrders(const GS::Array<GS::Int32>& ids);
    // qty = sum of the quantities' values, total = price * qty, both rounded to two decimals.
    void recalculate(GS::Int32 itemId);
};
