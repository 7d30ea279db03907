#pragma once
// Asks one of the two tools which program it runs: the encoder tool prints its
// version with "-version", the player tool prints its banner when started with
// no arguments. The tool runs in the background (no shell); the answer comes
// once, by signal, and is always a text a user can quote: the version line, or
// why there is none. Asking leaves nothing behind in the user's home folder.

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTimer>

namespace vx {

// The version of a tool's output: the name ("MPlayer" or "ffmpeg version") and
// the version word that follow each other at the start of a line, whatever else
// the line holds; empty when there is none.
QString VersionLine(const QByteArray& output);

class ToolVersion : public QObject {
    Q_OBJECT
  public:
    // tool: the tool's path; arguments: how it is asked.
    ToolVersion(QString tool, QStringList arguments, QObject* parent = nullptr);
    ~ToolVersion() override;

    // Starts asking; the answer comes by `answered`. A tool that does not answer
    // within `timeoutMs` is stopped.
    void Ask(int timeoutMs = 10000);
    const QString& answer() const { return answer_; }

  signals:
    void answered(const QString& text);

  private:
    void Finish(const QString& text);

    QString tool_;
    QStringList arguments_;
    QProcess process_;
    QTimer timeout_;
    QString answer_;
};

} // namespace vx
