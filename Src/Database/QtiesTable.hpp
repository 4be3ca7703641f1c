#pragma once
#include "Database/Table.hpp"

class QtiesTable : public Table<Qty> {
public:
    GS::UniString getTableName() const override;
    GS::Int32 getFieldCount() const override;
    GS::Array<DbField> getFields() const override;

    // Refuses a quantity whose item does not exist. A new quantity goes last in its item; a link
    // to a section element becomes a link to the element it was cut from.
    bool beforeSave(Qty& qty) override;
    bool afterSave(Qty& qty) override;
    // Reads the stored item and sort order, so the gap is closed where the row really was.
    bool beforeDelete(Qty& qty) override;
    // Closes the gap and rolls the item and its category up.
    bool afterDelete(Qty& qty) override;

    // 0 when the item has no quantities.
    GS::Int32 getMaxSortOrder(GS::Int32 itemId);
    bool updateSortOrders(const GS::Array<GS::Int32>& ids);
};
