#pragma once
// "--help" and "--version", answered the same way by every command-line program.
#include "platform/ProgramArguments.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#ifndef TIDEWELL_VERSION
#define TIDEWELL_VERSION "unknown"
#endif

// The line --version prints.
inline void PrintVersion(const char* program)
{
    std::printf("%s (Tidewell) %s\n", program, TIDEWELL_VERSION);
}

// Looks at the options before any "--" (what follows belongs to another program). Returns -1
// when neither option is there; otherwise prints the help (help writes it to the stream
// given) or the version on standard output and returns the exit status 0.
inline int AnswerHelpOrVersion(int argc, char** argv, const char* program, void (*help)(std::FILE*))
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0)
            break;
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            help(stdout);
            return 0;
        }
        if (std::strcmp(argv[i], "--version") == 0) {
            PrintVersion(program);
            return 0;
        }
    }
    return -1;
}

// The arguments again as a C argv, in UTF-8 on every system (on Windows the narrow argv is in
// the code page, which cannot hold every file name). Lives as long as the object.
class CUtf8Argv
{
  public:
    CUtf8Argv(int argc, char** argv) : m_args(Utf8Arguments(argc, argv))
    {
        m_args.insert(m_args.begin(), argc > 0 ? std::string(argv[0]) : std::string());
        for (std::string& arg : m_args)
            m_pointers.push_back(arg.data());
        m_pointers.push_back(nullptr);
    }
    char** Argv() { return m_pointers.data(); }

  private:
    std::vector<std::string> m_args;
    std::vector<char*> m_pointers;
};
