#pragma once
#include "Database/Entity.hpp"

// A row of "categories".
class Category : public Entity {
};
