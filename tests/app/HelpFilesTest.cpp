// The user's guide in the built application folder: every page, link and
// picture it refers to is there, and the build copied every file of it.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

const QString kHelp = QStringLiteral(VX_APP_DIR "/help");
const QString kSource = QStringLiteral(VX_SOURCE_DIR "/docs/help");

QByteArray Read(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The places a page or a style sheet refers to: href, src and url(...).
QStringList References(const QString& text) {
    static const QRegularExpression kAttribute(R"re(\b(?:href|src)\s*=\s*"([^"]*)")re");
    static const QRegularExpression kCssUrl(R"re(url\(\s*['"]?([^'")]+)['"]?\s*\))re");
    QStringList found;
    for (const auto* pattern : {&kAttribute, &kCssUrl})
        for (auto it = pattern->globalMatch(text); it.hasNext();)
            found << it.next().captured(1);
    return found;
}

struct Walk {
    QSet<QString> visited;
    QStringList problems;

    void Visit(const QString& path) {
        if (visited.contains(path)) return;
        visited.insert(path);
        const QString text = QString::fromUtf8(Read(path));
        for (const QString& reference : References(text)) {
            const QUrl url(reference);
            if (!url.scheme().isEmpty() && url.scheme() != "file") {
                problems << path + ": refers outside the guide: " + reference;
                continue;
            }
            const QString target =
                url.path().isEmpty()
                    ? path
                    : QFileInfo(QFileInfo(path).dir(), url.path()).canonicalFilePath();
            if (target.isEmpty() || !target.startsWith(QDir(kHelp).canonicalPath())) {
                problems << path + ": missing or outside: " + reference;
                continue;
            }
            if (url.hasFragment() &&
                !Read(target).contains(("id=\"" + url.fragment() + "\"").toUtf8()))
                problems << path + ": no anchor for " + reference;
            if (target.endsWith(".html") || target.endsWith(".css") || target.endsWith(".svg"))
                Visit(target);
        }
    }
};

TEST(HelpFiles, EveryLinkAndPictureOfTheBuiltGuideResolves) {
    const QString index = QDir(kHelp).canonicalPath() + "/index.html";
    ASSERT_TRUE(QFileInfo(index).isFile()) << "no guide in the application folder";
    Walk walk;
    walk.Visit(index);
    EXPECT_TRUE(walk.problems.isEmpty()) << walk.problems.join('\n').toStdString();
    // The pages the Help menu opens are reached, and so are the pictures.
    for (const char* page : {"home.html", "support.html", "style.css"})
        EXPECT_TRUE(walk.visited.contains(QDir(kHelp).canonicalPath() + "/" + page)) << page;
    int pictures = 0;
    for (const QString& path : walk.visited)
        pictures += path.endsWith(".svg");
    for (const QString& page : walk.visited)
        for (const QString& reference : References(QString::fromUtf8(Read(page))))
            pictures += reference.endsWith(".png");
    EXPECT_GE(pictures, 3);
}

TEST(HelpFiles, TheBuildCopiesEveryFileOfTheGuide) {
    qint64 bytes = 0;
    for (QDirIterator it(kSource, QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        const QString source = it.next();
        const QString copy = kHelp + source.mid(kSource.size());
        const QByteArray content = Read(source);
        EXPECT_EQ(Read(copy), content) << copy.toStdString();
        bytes += content.size();
        if (source.endsWith(".png")) {
            EXPECT_TRUE(content.startsWith("\x89PNG")) << source.toStdString();
        }
    }
    EXPECT_GT(bytes, 20'000);
    EXPECT_LT(bytes, 600'000) << "keep the pictures small";
}

} // namespace
