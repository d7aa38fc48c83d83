#pragma once
// What the operating system needs done before cvnobj reads its command line: the standard
// streams made safe to use, and the arguments as UTF-8 with every character kept.

#include <string>
#include <vector>

/** The arguments, the program's name first, in UTF-8; argv as given where the system already
 * passes UTF-8. Standard output and error write bytes unchanged. */
std::vector<std::string> startProcess(int argc, char** argv);
