#include "NativeNames.h"

#include <QByteArray>
#include <dirent.h>
#include <sys/stat.h>

namespace vx {

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // U+DC80..U+DCFF: the bytes 0x80..0xFF

// The length of the valid UTF-8 sequence at the start of the bytes, 0 when none.
std::size_t SequenceLength(std::string_view bytes) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) return 1;
    std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 ? 2 : 0;
    if (lead > 0xF4 || length == 0 || bytes.size() < length) return 0;
    for (std::size_t i = 1; i < length; ++i)
        if ((byte(i) & 0xC0) != 0x80) return 0;
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    if (lead == 0xE0 && byte(1) < 0xA0) return 0;
    if (lead == 0xED && byte(1) > 0x9F) return 0;
    if (lead == 0xF0 && byte(1) < 0x90) return 0;
    if (lead == 0xF4 && byte(1) > 0x8F) return 0;
    return length;
}

bool Exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The entry of the folder whose name reads as `shown` once Qt has decoded it;
// empty unless exactly one does.
std::string EntryShownAs(const std::string& folder, const QString& shown) {
    DIR* dir = ::opendir(folder.empty() ? "/" : folder.c_str());
    if (!dir) return {};
    std::string found;
    int matches = 0;
    while (const dirent* entry = ::readdir(dir)) {
        if (QString::fromLocal8Bit(entry->d_name) == shown) {
            found = entry->d_name;
            ++matches;
        }
    }
    ::closedir(dir);
    return matches == 1 ? found : std::string();
}

} // namespace

QString NameFromBytes(std::string_view bytes) {
    QString name;
    name.reserve(static_cast<qsizetype>(bytes.size()));
    while (!bytes.empty()) {
        const std::size_t length = SequenceLength(bytes);
        if (length == 0) {
            name.append(QChar(kEscapeBase + static_cast<unsigned char>(bytes.front())));
            bytes.remove_prefix(1);
            continue;
        }
        name.append(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(length)));
        bytes.remove_prefix(length);
    }
    return name;
}

std::string BytesOfName(const QString& name) {
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(name.size()));
    const qsizetype size = name.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t unit = name[i].unicode();
        if (QChar::isHighSurrogate(unit) && i + 1 < size && name[i + 1].isLowSurrogate()) {
            bytes += name.mid(i, 2).toStdString();
            ++i;
        } else if (unit >= kEscapeBase + 0x80 && unit <= kEscapeBase + 0xFF) {
            bytes += static_cast<char>(unit - kEscapeBase);
        } else {
            bytes += QString(QChar(unit)).toStdString();
        }
    }
    return bytes;
}

QString NameFromUrl(const QUrl& url) {
    if (!url.isLocalFile()) return {};
    const QByteArray path =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    return NameFromBytes(std::string_view(path.constData(), static_cast<std::size_t>(path.size())));
}

QUrl UrlOfName(const QString& name) {
    const std::string bytes = BytesOfName(name);
    const QByteArray encoded =
        QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toPercentEncoding("/");
    return QUrl::fromEncoded("file://" + encoded);
}

QString RecoverDialogName(const QString& name) {
    if (!name.startsWith(QLatin1Char('/')) || !name.contains(QChar::ReplacementCharacter) ||
        Exists(BytesOfName(name)))
        return name;
    std::string path;
    for (const QString& part : name.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        std::string entry = BytesOfName(part);
        if (part.contains(QChar::ReplacementCharacter) && !Exists(path + "/" + entry)) {
            entry = EntryShownAs(path, part);
            if (entry.empty()) return name;
        }
        path += "/" + entry;
    }
    return NameFromBytes(path);
}

} // namespace vx
