#include "ToolRun.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::filesystem::path toolScratch() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path scratch =
        std::filesystem::path(DUSKHALL_BINARY_DIR) / "renderer-tool-test" / info->name();
    std::filesystem::create_directories(scratch);
    return scratch;
}

ToolRun runTool(const std::string& arguments) {
    return runProgram("duskhall-render", arguments);
}

ToolRun runProgram(const std::string& program, const std::string& arguments) {
    const std::filesystem::path scratch = toolScratch();
    const std::filesystem::path out = scratch / "stdout.txt";
    const std::filesystem::path err = scratch / "stderr.txt";
    const std::string command = "cd '" + scratch.string() + "' && '" DUSKHALL_BINARY_DIR "/" +
                                program + "' " + arguments + " >'" + out.string() + "' 2>'" +
                                err.string() + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readAll(out), readAll(err)};
}
