#pragma once
// The skin: a Qt style sheet in "skins/frmmain.skn" below the application
// folder. Loading it and applying it to a window are the two operations; a
// missing or unreadable file leaves the window with the default look.

#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace vx {

std::optional<QString> LoadSkin(const std::string& appFolder);
void ApplySkin(QWidget* window, const QString& skin);

// Both in one go, as every window does when it opens.
void ApplySkinFile(QWidget* window, const std::string& appFolder);

} // namespace vx
