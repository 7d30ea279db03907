#pragma once
// A batch goes on in the window's event loop after Convert returns: the tests
// serve that loop until it has ended.

#include "BatchRun.h"
#include "MainWindow.h"

#include <QDeadlineTimer>
#include <QTest>

namespace vxtest {

inline bool WaitForBatch(vx::MainWindow& window, int milliseconds = 120000) {
    const QDeadlineTimer deadline(milliseconds);
    while (window.batch().Running() && !deadline.hasExpired())
        QTest::qWait(10);
    return !window.batch().Running();
}

} // namespace vxtest
