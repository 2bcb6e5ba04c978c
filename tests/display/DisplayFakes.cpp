#include "DisplayFakes.h"

std::vector<std::string> describeMenu(const MenuList& list) {
    std::vector<std::string> items;
    for (const MenuEntry& entry : list) {
        items.push_back(std::to_string(entry.id) + ":" + (entry.separator() ? "-" : entry.text));
    }
    return items;
}
