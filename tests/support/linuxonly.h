#ifndef LINUXONLY_H
#define LINUXONLY_H

#include <QtTest>

// A test function that needs a tool or interface only Linux has (setrlimit,
// /dev/full, pdftotext...) skips itself on Windows, saying so; each one is
// listed with its reason in tests/CMakeLists.txt (SETROVIA_LINUX_ONLY).
#ifdef Q_OS_WIN
#define LINUX_ONLY(reason) QSKIP("Linux only: " reason)
#else
#define LINUX_ONLY(reason)                                                                         \
    do {                                                                                           \
    } while (false)
#endif

#endif // LINUXONLY_H
