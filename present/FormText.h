#pragma once
// How the dialogs read what the operator typed and show numbers in their edits. Every form
// reads numbers here, so that "12.5 ft", " 3", "abc" and "" mean the same in every dialog.
#include <functional>
#include <string>

// The leading decimal number of a text (after leading white space): "12.5 ft" is 12.5, "-.5"
// is -0.5, "1e3" is 1000; 0 when the text does not start with one. Only plain decimal
// notation counts: "inf", "nan" and hexadecimal are not numbers an operator types.
double ReadNumber(const std::string& text);
// The leading whole number: "5.00" and "5.9" are 5; 0 when there is none. A number too big
// for a long is held at the nearest end.
long ReadInteger(const std::string& text);
// The same cut into an int, held at its ends.
int ReadInt(const std::string& text);
// True when the text holds nothing but white space.
bool IsBlank(const std::string& text);
// printf's "%0.<decimals>f".
std::string FormatFixed(double value, int decimals);

// An edit that shows a value converted to a display unit. An edit the operator left as it
// was shown gives back the value it was made from, to the last bit: reading the rounded text
// back would shift a stored value by the rounding each time a dialog is confirmed.
class CNumberText
{
  public:
    // Shows `text`, made from `value` (internal units).
    void Show(double value, const std::string& text);
    // An empty edit with no value behind it.
    void Clear();
    bool IsUntouched() const { return m_bShown && m_strText == m_strShown; }
    // The value: the one shown when the text is as it was, else the typed number passed
    // through `toInternal` (nothing when it is empty).
    double Value(const std::function<double(double)>& toInternal = {}) const;

    std::string m_strText;

  private:
    std::string m_strShown;
    double m_dShown = 0.0;
    bool m_bShown = false;
};
