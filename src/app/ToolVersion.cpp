#include "ToolVersion.h"

#include <QDir>
#include <QFileInfo>

namespace vx {

QString VersionLine(const QByteArray& output) {
    for (const QByteArray& raw : output.split('\n')) {
        QString line = QString::fromUtf8(raw).trimmed();
        // Other lines may come first, e.g. the player's "Creating config file: ...".
        if (!line.startsWith(QLatin1String("MPlayer")) &&
            !line.startsWith(QLatin1String("ffmpeg version")))
            continue;
        // "ffmpeg version 5.1.6 Copyright (c) ..." and "MPlayer 1.5 ... (C) 2000-2022 ..."
        for (const char* notice : {" Copyright", " (C) ", " (c) "})
            if (const qsizetype at = line.indexOf(QLatin1String(notice)); at > 0) line.truncate(at);
        return line.trimmed();
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
        home_.reset(); // also after a timeout: the tool has ended now
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
    // The tool runs with a home of its own, an empty folder removed once it has
    // answered: the player makes a config folder in its home on its first run.
    home_ =
        std::make_unique<QTemporaryDir>(QDir::tempPath() + QStringLiteral("/vantorix-home-XXXXXX"));
    if (!home_->isValid()) {
        Finish(tr("no answer (no temporary folder: %1)").arg(home_->errorString()));
        return;
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("MPLAYER_HOME"));
    environment.insert(QStringLiteral("HOME"), home_->path());
    for (const char* name :
         {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"})
        environment.remove(QString::fromLatin1(name));
    process_.setProcessEnvironment(environment);
    timeout_.start(timeoutMs);
    process_.start();
}

void ToolVersion::Finish(const QString& text) {
    if (!answer_.isEmpty()) return;
    timeout_.stop();
    if (process_.state() == QProcess::NotRunning) home_.reset();
    answer_ = text;
    emit answered(answer_);
}

} // namespace vx
