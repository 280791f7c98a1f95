#pragma once
// The program's icon, drawn in 16, 32 and 48 pixels; the window, the task
// bar and the tray show the same picture, and the installed icon theme
// sizes are drawn from it too.

#include <QIcon>
#include <QImage>

QImage ProgramIconImage(int size);
QIcon ProgramIcon();
