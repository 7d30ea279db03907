#pragma once
// The profile chooser: the catalog's entries at one level, headings with
// their category pictures.

#include <QComboBox>

namespace vx {

class ProfileChooser : public QComboBox {
    Q_OBJECT
  public:
    explicit ProfileChooser(QWidget* parent = nullptr);

    // Appends the catalog's entries in order.
    void FillCatalog();
    // The selected 1-based position, or 0 when nothing is selected.
    int SelectedPosition() const;
    // Selects the entry at a position; a position that names no entry selects nothing and fails.
    bool SelectPosition(int position);
    // The selected entry's display text; empty when nothing is selected.
    QString SelectedText() const;

  signals:
    // The user picked an entry (heading or profile).
    void entryPicked(int position);
};

} // namespace vx
