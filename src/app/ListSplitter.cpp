#include "ListSplitter.h"

#include "Settings.h"

#include <QResizeEvent>
#include <algorithm>
#include <cmath>
#include <cstdio>

namespace vx {

ListSplitter::ListSplitter(std::string appFolder, QWidget* parent)
    : QSplitter(Qt::Vertical, parent), appFolder_(std::move(appFolder)) {
    const int stored = LoadListShare(appFolder_);
    share_ = stored > 0 ? stored : kDefaultShare;
    setChildrenCollapsible(false);
    save_.setSingleShot(true);
    save_.setInterval(400);
    connect(&save_, &QTimer::timeout, this, &ListSplitter::SaveShare);
    connect(this, &QSplitter::splitterMoved, this, &ListSplitter::OnMoved);
}

ListSplitter::~ListSplitter() {
    if (save_.isActive()) SaveShare(); // a move just before the window closed
}

void ListSplitter::resizeEvent(QResizeEvent* event) {
    QSplitter::resizeEvent(event);
    ApplyShare();
}

void ListSplitter::ApplyShare() {
    const QList<int> sizes = this->sizes();
    if (sizes.size() != 2) return;
    const int total = sizes[0] + sizes[1];
    const int list = static_cast<int>(std::lround(total * share_ / 100.0));
    if (total > 0 && list != sizes[0]) setSizes({list, total - list});
}

// Only the user's moves of the handle come here, never ApplyShare's.
void ListSplitter::OnMoved() {
    const QList<int> sizes = this->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    if (total <= 0) return;
    share_ = 100.0 * sizes.value(0) / total;
    save_.start();
}

void ListSplitter::SaveShare() {
    const int percent = std::clamp(static_cast<int>(std::lround(share_)), 10, 90);
    std::string reason;
    if (LoadListShare(appFolder_) != percent && !SaveListShare(appFolder_, percent, &reason))
        std::fprintf(stderr, "vantorix: the list's height could not be saved to %s: %s\n",
                     SettingsPath(appFolder_).c_str(), reason.c_str());
}

} // namespace vx
