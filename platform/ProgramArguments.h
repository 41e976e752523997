#pragma once
// The program's command-line arguments as UTF-8, the program's name left out. On Windows
// the narrow argv is in the system's code page, which cannot hold every file name: the
// arguments are taken from the wide command line instead.
#include <string>
#include <vector>

std::vector<std::string> Utf8Arguments(int argc, char** argv);
