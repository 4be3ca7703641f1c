#pragma once
#include "Database/Entity.hpp"

// A row of "items".
class Item : public Entity {
};
