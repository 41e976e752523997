#pragma once
// Sets environment variables for one test and puts the old values back afterwards.
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

class ScopedEnv
{
  public:
    void Set(const char* name, const char* value)
    {
        if (!m_saved.count(name)) {
            const char* old = std::getenv(name);
            m_saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        Put(name, value);
    }
    ~ScopedEnv()
    {
        for (auto& [name, value] : m_saved)
            Put(name.c_str(), value ? value->c_str() : nullptr);
    }

  private:
    static void Put(const char* name, const char* value)
    {
#ifdef _WIN32
        _putenv_s(name, value ? value : ""); // an empty value removes the variable
#else
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
#endif
    }

    std::map<std::string, std::optional<std::string>> m_saved;
};
