// The main window's hint that the files can be rewrapped without loss.
#include "MainWindow.h"
#include "ProfileChooser.h"

#include <QStatusBar>

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
    statusBar()->showMessage(QString::fromUtf8(RewrapHintText()), 30000);
}

} // namespace vx
