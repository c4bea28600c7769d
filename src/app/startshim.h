#ifndef STARTSHIM_H
#define STARTSHIM_H

#include <string>
#include <vector>

// Windows: the wide command line as the 8-bit arguments main() takes, in
// the given code page (the system's ANSI code page at start). A character
// the code page lacks becomes '?'; the program itself reads its arguments
// from the toolkit's own wide command line, so such a path still opens.
std::vector<std::string> localArguments(const std::vector<std::wstring> &wide, unsigned codePage);

#endif // STARTSHIM_H
