#pragma once
// Pictures of the main window's toolbar images, drawn from SVG held in the program.

#include <QIcon>
#include <QString>

namespace vx {

enum class ToolbarPicture { AddFiles, RemoveFile, ClearAll, Settings, ConvertNow, Help, Exit };

QIcon ToolbarIcon(ToolbarPicture picture);

} // namespace vx
