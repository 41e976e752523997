#pragma once
// The program's icon, drawn rather than loaded so that the program needs no files beside it.
// app/tidewell.svg is the same picture for the desktop menu.
#include <QIcon>

QIcon TidewellIcon();
