#include "Database/Entity.hpp"

#include <cstring>

#include "Database/Qty.hpp"

Entity::Entity() : isNew(true) {}

Entity::Entity(const Entity& other) = default;

Entity& Entity::operator=(const Entity& other) = default;

Entity::~Entity() = default;

GS::UniString Entity::getString(const GS::UniString& name) const
{
    const GS::UniString* value = stringFields.GetPtr(name);
    return value != nullptr ? *value : GS::UniString();
}

double Entity::getDouble(const GS::UniString& name) const
{
    const double* value = doubleFields.GetPtr(name);
    return value != nullptr ? *value : 0.0;
}

GS::Int32 Entity::getInt(const GS::UniString& name) const
{
    const GS::Int32* value = intFields.GetPtr(name);
    return value != nullptr ? *value : 0;
}

void Entity::setString(const GS::UniString& name, const GS::UniString& value)
{
    stringFields.Put(name, value);
}

void Entity::setDouble(const GS::UniString& name, double value)
{
    doubleFields.Put(name, value);
}

void Entity::setInt(const GS::UniString& name, GS::Int32 value)
{
    intFields.Put(name, value);
}

Qty::Qty() : linkStatus(LinkNotComputed)
{
    std::memset(errorText, 0, sizeof errorText);
}

Qty::Qty(const Qty& other) : Entity(other), linkStatus(other.linkStatus)
{
    std::memcpy(errorText, other.errorText, sizeof errorText);
}

Qty& Qty::operator=(const Qty& other)
{
    if (this == &other)
        return *this;
    Entity::operator=(other);
    linkStatus = other.linkStatus;
    std::memcpy(errorText, other.errorText, sizeof errorText);
    return *this;
}

void Qty::setErrorText(const char* message)
{
    std::memset(errorText, 0, sizeof errorText);
    if (message == nullptr)
        return;
    std::size_t length = std::strlen(message);
    if (length > sizeof errorText - 1) {
        length = sizeof errorText - 1;
        // Never keep half of a UTF-8 sequence at the cut.
        while (length > 0 && (static_cast<unsigned char>(message[length]) & 0xC0) == 0x80)
            --length;
    }
    std::memcpy(errorText, message, length);
}
