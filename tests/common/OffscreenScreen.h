#pragma once
// A widget test's main on an offscreen screen of a given size and pixel ratio,
// for what depends on the screen: the first window's size, a maximised window,
// pictures drawn at the screen's ratio.

#include <QApplication>
#include <QSize>
#include <QTemporaryDir>
#include <QtTest>

namespace vxtest {

template <class Test> int RunOnOffscreenScreen(int argc, char** argv, QSize size, int ratio) {
    QTemporaryDir config;
    QFile json(config.filePath("screen.json"));
    if (!json.open(QIODevice::WriteOnly)) return 1;
    json.write(QStringLiteral(R"({"screens": [{"name": "test", "x": 0, "y": 0, "width": %1,
        "height": %2, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": %3}]})")
                   .arg(size.width())
                   .arg(size.height())
                   .arg(ratio)
                   .toUtf8());
    json.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + json.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    Test test;
    return QTest::qExec(&test, argc, argv);
}

} // namespace vxtest
