// The main window's hint that the files can be rewrapped without loss.
#include "ElidedLabel.h"
#include "MainWindow.h"
#include "ProfileChooser.h"

#include <QStatusBar>
#include <QTimer>

namespace vx {

// Once all rows are in and probed and an entry is picked; once per state of the list.
void MainWindow::OfferRewrapHint() {
    if (probing_ > 0 || adding_) return;
    std::vector<std::uint64_t> ids;
    std::vector<StreamFormats> rows;
    for (int row = 0; row < sources_.Count(); ++row) {
        const SourceItem& item = sources_.Row(row);
        ids.push_back(item.id);
        rows.push_back({item.columns[kFormat], item.audioFormat});
    }
    if (!rewrapHint_.Due(chooser_->SelectedPosition(), ids, rows)) return;
    ShowHint(QString::fromUtf8(RewrapHintText()));
}

// The status bar's hint, for half a minute: cut to the bar's width with "…",
// the whole of it in the tooltip (the bar's own messages are cut off bare).
void MainWindow::ShowHint(const QString& text) {
    auto* hint = statusBar()->findChild<ElidedLabel*>(QStringLiteral("hint"));
    if (!hint) {
        hint = new ElidedLabel(statusBar());
        hint->setObjectName(QStringLiteral("hint"));
        statusBar()->addWidget(hint, 1);
        auto* clear = new QTimer(hint);
        clear->setObjectName(QStringLiteral("hintTimer"));
        clear->setSingleShot(true);
        connect(clear, &QTimer::timeout, hint, [hint] { hint->SetFullText({}); });
    }
    hint->SetFullText(text);
    hint->findChild<QTimer*>(QStringLiteral("hintTimer"))->start(30000);
}

} // namespace vx
