#include "startshim.h"

#include <windows.h>

std::vector<std::string> localArguments(const std::vector<std::wstring> &wide, unsigned codePage) {
    std::vector<std::string> local;
    local.reserve(wide.size());
    for (const std::wstring &argument : wide) {
        // No best-fit: "é" must not turn into "e" and name another file.
        const DWORD flags = codePage == CP_UTF8 ? 0 : WC_NO_BEST_FIT_CHARS;
        const int size = WideCharToMultiByte(codePage, flags, argument.data(), int(argument.size()),
                                             nullptr, 0, nullptr, nullptr);
        std::string bytes(size > 0 ? size_t(size) : 0, '\0');
        if (size > 0)
            WideCharToMultiByte(codePage, flags, argument.data(), int(argument.size()),
                                bytes.data(), size, nullptr, nullptr);
        local.push_back(bytes);
    }
    return local;
}
