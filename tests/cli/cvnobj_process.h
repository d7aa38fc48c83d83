#pragma once
// cvnobj run as a process in a folder of its own, as scripts and modders run it.

#include "tests/support/data_files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace testsupport {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class CvnobjProcessTest : public ::testing::Test {
protected:
    TempFolder folder;

    /** Runs cvnobj with the shell words args, in the folder, after prefix (variables to set, or
     * a program to run it under). */
    Outcome run(const std::string& args, const std::string& prefix = "") {
        const std::string out = folder.file("stdout"), err = folder.file("stderr");
        // The test's redirections first, so that those in args win.
        const std::string command = "cd '" + folder.path() + "' && " + prefix + " '" + CVNOBJ_PATH +
                                    "' >'" + out + "' 2>'" + err + "' " + args;
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(out), slurp(err)};
    }
};

} // namespace testsupport
