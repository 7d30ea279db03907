#pragma once
// File names are bytes. Qt holds text, and turns bytes that are not UTF-8 (a
// Latin-1 "caf\xe9.flv") into U+FFFD, after which the file cannot be found. Names
// that pass through Qt (the command line, a drop, D-Bus, the file dialog) are
// therefore carried losslessly: valid UTF-8 as its characters, every other byte
// b as the lone code unit U+DC00+b, which no valid text holds; BytesOfName gives
// the bytes back for the cores.

#include <QString>
#include <QUrl>
#include <string>
#include <string_view>

namespace vx {

QString NameFromBytes(std::string_view bytes);
std::string BytesOfName(const QString& name);

// The local file a URL names, from its percent-encoded bytes.
QString NameFromUrl(const QUrl& url);
// The file URL of an absolute name, every byte kept.
QUrl UrlOfName(const QString& name);

// A name as the file dialog returns it: Qt has already replaced what was not
// UTF-8, so each such part of the path is looked up in its folder among the
// entries that read the same. The name as it is when nothing matches or more
// than one entry does.
QString RecoverDialogName(const QString& name);

} // namespace vx
