#pragma once
// The command line as UTF-8 with every character kept; where the system passes it otherwise,
// a file of its own for that system makes it so (utf8_arguments_windows.cpp).

#include <string>
#include <vector>

/** The arguments, the program's name first, in UTF-8. */
std::vector<std::string> utf8Arguments(int argc, char** argv);
