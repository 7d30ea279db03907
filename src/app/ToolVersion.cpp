#include "ToolVersion.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace vx {

QString VersionLine(const QByteArray& output) {
    // "ffmpeg version 5.1.6 Copyright (c) ...", "MPlayer 1.5 (Debian), built with gcc-12 (C) ...",
    // and one player build prints its usage on the banner's line: "MPlayer 1.5+svn38674-2
    // (Debian)Usage: ...". What counts is the name and the word after it.
    static const QRegularExpression version(QStringLiteral("^(MPlayer|ffmpeg version)\\s+(\\S+)"));
    for (const QByteArray& raw : output.split('\n')) {
        // Other lines may come first, e.g. the player's "Creating config file: ...".
        const QRegularExpressionMatch match = version.match(QString::fromUtf8(raw).trimmed());
        if (match.hasMatch()) return match.captured(1) + u' ' + match.captured(2);
    }
    return {};
}

namespace {

// What a tool without a version line said first, to quote it.
QString FirstLine(const QByteArray& output) {
    for (const QByteArray& raw : output.split('\n'))
        if (const QString line = QString::fromUtf8(raw).trimmed(); !line.isEmpty()) return line;
    return {};
}

} // namespace

ToolVersion::ToolVersion(QString tool, QStringList arguments, QObject* parent)
    : QObject(parent), tool_(std::move(tool)), arguments_(std::move(arguments)) {
    process_.setProgram(tool_);
    process_.setArguments(arguments_);
    process_.setWorkingDirectory(QFileInfo(tool_).absolutePath());
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardInputFile(QProcess::nullDevice());
    timeout_.setSingleShot(true);
    connect(&timeout_, &QTimer::timeout, this, [this] {
        process_.kill();
        Finish(tr("no answer"));
    });
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) Finish(tr("not found (%1)").arg(tool_));
    });
    connect(&process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        const QByteArray output = process_.readAll();
        const QString line = VersionLine(output), first = FirstLine(output);
        if (status != QProcess::NormalExit)
            Finish(tr("no answer (%1 ended abnormally)").arg(tool_));
        else if (!line.isEmpty())
            Finish(line);
        else if (code == 127 || first.isEmpty()) // the launchers' code for a missing program
            Finish(tr("not found (%1)").arg(first.isEmpty() ? tool_ : first));
        else
            Finish(tr("unknown (%1)").arg(first));
    });
}

ToolVersion::~ToolVersion() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill(); // SIGKILL: the wait below is only the reaping
        process_.waitForFinished(1000);
    }
}

void ToolVersion::Ask(int timeoutMs) {
    if (!QFileInfo(tool_).isExecutable()) {
        Finish(tr("not found (%1)").arg(tool_));
        return;
    }
    // The player's launcher gives it a home of its own: the user's stays untouched.
    timeout_.start(timeoutMs);
    process_.start();
}

void ToolVersion::Finish(const QString& text) {
    if (!answer_.isEmpty()) return;
    timeout_.stop();
    answer_ = text;
    emit answered(answer_);
}

} // namespace vx
