#pragma once
// Helpers for the Win32 backends of this folder and the layers above; included only by
// *Win32.cpp files. Text crosses into the wide API here and nowhere else.
#include <string>

// UTF-16 of a UTF-8 text, and back.
std::wstring WideFromUtf8(const std::string& utf8);
std::string Utf8FromWide(const std::wstring& wide);

// A system error code (GetLastError()) in the words the POSIX build uses for the same
// condition ("No such file or directory", "Permission denied"), else the system's text.
std::string SystemErrorText(unsigned long code);
// The same for the calling thread's last error.
std::string LastErrorText();
