#include "renderer/level/wad/WadSearch.h"

#include "renderer/level/LevelFile.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

void addFolders(std::vector<std::string>& folders, const char* list) {
    if (list == nullptr) {
        return;
    }
    std::string folder;
    for (const char* c = list;; ++c) {
        if (*c == ':' || *c == ';' || *c == 0) {
            if (!folder.empty()) {
                folders.push_back(folder);
            }
            folder.clear();
            if (*c == 0) {
                return;
            }
        } else {
            folder += *c;
        }
    }
}

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::vector<std::string> wadSearchFolders() {
    std::vector<std::string> folders;
    addFolders(folders, std::getenv("DOOMWADDIR"));
    addFolders(folders, std::getenv("DOOMWADPATH"));
    for (const char* folder : {"/usr/share/games/doom", "/usr/local/share/games/doom",
                               "/usr/share/doom", "/usr/local/share/doom"}) {
        folders.push_back(folder);
    }
    return folders;
}

bool findWad(const std::string& given, std::string& path, std::string& error) {
    const std::filesystem::path name(given);
    if (isFile(name) || name.has_parent_path()) {
        path = given; // opening it reports what is wrong with it
        return true;
    }
    std::string looked = "the working folder";
    for (const std::string& folder : wadSearchFolders()) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / name;
        if (isFile(candidate)) {
            path = candidate.string();
            return true;
        }
        looked += ", " + folder;
    }
    error = printable(given) + ": not found in " + printable(looked) +
            " (Debian's freedoom package installs freedoom1.wad and freedoom2.wad)";
    return false;
}
