// The entry point of setrovia.exe on Windows (linked with -municode): the C
// runtime hands over the wide command line, main() takes 8-bit arguments.

#include "app/startshim.h"

#include <windows.h>

int main(int argc, char *argv[]);

extern "C" int wmain(int argc, wchar_t *argv[]) {
    // Lives until main() returns: QApplication keeps pointers into it.
    std::vector<std::string> local =
        localArguments(std::vector<std::wstring>(argv, argv + argc), GetACP());
    std::vector<char *> pointers;
    for (std::string &argument : local)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return main(argc, pointers.data());
}
