// The buttons' actions reach their handlers and do nothing until the editors come.
#include "Palettes/CalvoraPanel.hpp"

void CalvoraPanel::AddNewCategory() {}
void CalvoraPanel::EditCategory() {}
void CalvoraPanel::DeleteCategory() {}
void CalvoraPanel::ReorderCategories() {}
void CalvoraPanel::AddNewItem() {}
void CalvoraPanel::EditItem() {}
void CalvoraPanel::DeleteItem() {}
void CalvoraPanel::CloneItem() {}
void CalvoraPanel::AddQtyItem() {}
void CalvoraPanel::EditQty() {}
void CalvoraPanel::DeleteQties() {}
void CalvoraPanel::ReloadQties() {}
void CalvoraPanel::ZoomToLinkedElement() {}
