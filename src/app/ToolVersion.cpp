#include "ToolVersion.h"

#include <QFileInfo>

namespace vx {

// The player started in a fresh home first says "Creating config file: ...": the
// line with the copyright notice is the version line when there is one.
QString VersionLine(const QByteArray& output) {
    QString first;
    for (const QByteArray& raw : output.split('\n')) {
        QString line = QString::fromUtf8(raw).trimmed();
        if (line.isEmpty()) continue;
        if (first.isEmpty()) first = line;
        // "ffmpeg version 5.1.6 Copyright (c) ..." and "MPlayer 1.5 ... (C) 2000-2022 ..."
        for (const char* notice : {" Copyright", " (C) ", " (c) "})
            if (const qsizetype at = line.indexOf(QLatin1String(notice)); at > 0)
                return line.left(at).trimmed();
    }
    return first;
}

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
        const QString line = VersionLine(process_.readAll());
        if (status != QProcess::NormalExit)
            Finish(tr("no answer (%1 ended abnormally)").arg(tool_));
        else if (code == 127 || line.isEmpty()) // the launchers' code for a missing program
            Finish(tr("not found (%1)").arg(line.isEmpty() ? tool_ : line));
        else
            Finish(line);
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
