#include "app/Unattended.h"

#include <cstdio>

namespace unattended
{

namespace
{
bool g_bOn = false;
}

bool IsOn()
{
    return g_bOn;
}

void SetOn(bool on)
{
    g_bOn = on;
}

bool Report(const QString& text)
{
    if (!g_bOn)
        return false;
    // Message texts carry Windows line ends and several lines; the log wants one line each.
    QString line = text.trimmed();
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "tidewell: %s\n", line.toLocal8Bit().constData());
    return true;
}

} // namespace unattended
