#pragma once
#include "GSRoot/Definitions.hpp"
#include "GSRoot/HashTable.hpp"
#include "GSRoot/UniString.hpp"

// One row of a table as a property bag keyed by column name. Each accessor looks only at
// its own map; a field that is absent reads as empty text, 0.0 or 0.
class Entity {
public:
    Entity();
    Entity(const Entity& other);
    Entity& operator=(const Entity& other);
    virtual ~Entity();

    GS::UniString getString(const GS::UniString& name) const;
    double getDouble(const GS::UniString& name) const;
    GS::Int32 getInt(const GS::UniString& name) const;

    void setString(const GS::UniString& name, const GS::UniString& value);
    void setDouble(const GS::UniString& name, double value);
    void setInt(const GS::UniString& name, GS::Int32 value);

    // True while the entity has no row; the table layer clears it.
    bool isNew;

    GS::HashTable<GS::UniString, GS::UniString> stringFields;
    GS::HashTable<GS::UniString, double> doubleFields;
    GS::HashTable<GS::UniString, GS::Int32> intFields;
};
