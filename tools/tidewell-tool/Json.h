#pragma once
// A small JSON writer for the tool's output. Doubles are written in the shortest form that
// reads back to the same bits; texts are taken as UTF-8 and escaped as JSON requires.
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

// The shortest decimal text that reads back to exactly this double ("1", "0.1", "-32768",
// "4381263.646", "1e-06"). Not-a-number and infinities, which JSON cannot hold, become null.
std::string FormatRoundTrip(double value);

class JsonWriter
{
  public:
    explicit JsonWriter(std::ostream& out, bool pretty = true) : m_out(out), m_pretty(pretty) {}

    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(const std::string& key);

    JsonWriter& Value(double v);
    JsonWriter& Value(int v) { return Value(static_cast<int64_t>(v)); }
    JsonWriter& Value(unsigned v) { return Value(static_cast<int64_t>(v)); }
    JsonWriter& Value(int64_t v);
    JsonWriter& Value(bool v);
    JsonWriter& Value(const std::string& v);
    JsonWriter& Value(const char* v) { return Value(std::string(v)); }
    JsonWriter& Null();

    template <typename T> JsonWriter& Member(const std::string& key, const T& v)
    {
        Key(key);
        return Value(v);
    }

    // Ends the document with a line break.
    void Finish();

    static std::string Escape(const std::string& text);

  private:
    void BeforeValue();
    void NewLine();

    std::ostream& m_out;
    bool m_pretty;
    struct Level {
        bool isObject;
        bool empty;
    };
    std::vector<Level> m_stack;
    bool m_afterKey = false;
};
