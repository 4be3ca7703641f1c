#pragma once
#include "Database/Table.hpp"

class CategoriesTable : public Table<Category> {
public:
    GS::UniString getTableName() const override;
    GS::Int32 getFieldCount() const override;
    GS::Array<DbField> getFields() const override;

    // A new category goes last.
    bool beforeSave(Category& category) override;
    // The total is recomputed from the items, so a stale copy cannot write an old total back.
    bool afterSave(Category& category) override;
    // Reads the stored sort order, so the gap is closed where the row really was.
    bool beforeDelete(Category& category) override;
    // Deletes the category's items and their quantities and closes the sort-order gap.
    bool afterDelete(Category& category) override;

    // Every category in sort order, then id.
    GS::Array<Category> getAll();
    // Gives the ids positions 1..n in array order.
    bool updateSortOrders(const GS::Array<GS::Int32>& ids);
    // total = sum of the category's item totals (not rounded).
    void recalculateTotal(GS::Int32 categoryId);
};
