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

    // The batches store what saving or removing the quantities one by one would, in one
    // transaction that reads each item's highest sort order once, and closes its gaps and rolls
    // it up once at the end, so their cost grows with the rows, not with their square. A failure
    // (other than an insert that fails) undoes the whole batch and passes on.

    // Saves in array order; one whose insert fails is skipped and stays new, as save skips it.
    void saveAll(GS::Array<Qty>& qties);
    // Removes from the highest stored sort order down; gives the ids of the rows removed.
    GS::Array<GS::Int32> removeAll(GS::Array<Qty>& qties);

private:
    // While saveAll runs: the next sort order of each item met, and the items to roll up.
    GS::HashTable<GS::Int32, GS::Int32> nextSortOrders;
    GS::HashTable<GS::Int32, bool> itemsToRollUp;
};
