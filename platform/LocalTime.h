#pragma once
// The broken-down local time of a moment, safe to call from any thread.
#include <ctime>

inline bool LocalTimeOf(std::time_t moment, std::tm& local)
{
#ifdef _WIN32
    return localtime_s(&local, &moment) == 0;
#else
    return localtime_r(&moment, &local) != nullptr;
#endif
}
