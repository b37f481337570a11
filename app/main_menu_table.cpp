#include "app/main_menu_table.h"

namespace vesko {

const MainMenuEntry* FindMainMenuEntry(std::string_view buttonName) {
  for (const MainMenuEntry& entry : kMainMenuEntries) {
    if (entry.buttonName == buttonName) {
      return &entry;
    }
  }
  return nullptr;
}

}  // namespace vesko
