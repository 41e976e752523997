#pragma once
// The line flowcomputer-sim answers on: a pseudo-terminal it creates (POSIX systems only) or
// an existing serial port.
#include <cstddef>
#include <memory>
#include <string>

class IUnitLine
{
  public:
    virtual ~IUnitLine() = default;
    // Waits at most timeoutMs for bytes and takes what came, at most size; 0 when nothing
    // did, -1 when the program's end of the line is not open (nothing can come yet).
    virtual int Read(unsigned char* buffer, size_t size, int timeoutMs) = 0;
    virtual void Write(const std::string& bytes) = 0;
};

// A new pseudo-terminal; device is the path the program opens. nullptr with the reason in
// error where the system refuses or has none (Windows).
std::unique_ptr<IUnitLine> OpenPseudoTerminalLine(std::string& device, std::string& error);
