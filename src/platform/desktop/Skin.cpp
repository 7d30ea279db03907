#include "Skin.h"

#include <QFile>
#include <QWidget>

namespace vx {

std::optional<QString> LoadSkin(const std::string& appFolder) {
    QFile file(QString::fromStdString(appFolder) + QStringLiteral("/skins/frmmain.skn"));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return QString::fromUtf8(content);
}

void ApplySkin(QWidget* window, const QString& skin) {
    if (window) window->setStyleSheet(skin);
}

void ApplySkinFile(QWidget* window, const std::string& appFolder) {
    if (const auto skin = LoadSkin(appFolder)) ApplySkin(window, *skin);
}

} // namespace vx
