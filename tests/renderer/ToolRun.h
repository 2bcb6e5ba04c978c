#pragma once

#include <filesystem>
#include <string>

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

std::string readAll(const std::filesystem::path& path);

// The current test's scratch folder in the build tree.
std::filesystem::path toolScratch();

// Runs duskhall-render with the arguments, in the test's scratch folder.
ToolRun runTool(const std::string& arguments);
// The same for another program of the build (duskhall).
ToolRun runProgram(const std::string& program, const std::string& arguments);
