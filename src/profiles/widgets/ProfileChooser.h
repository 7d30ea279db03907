#pragma once
// The profile chooser: the catalog's entries at one level, headings with their
// category pictures; after them, under the heading "My profiles", the user's
// own profiles, each with the picture of its base entry's category.

#include <QComboBox>
#include <utility>
#include <vector>

namespace vx {

class ProfileChooser : public QComboBox {
    Q_OBJECT
  public:
    explicit ProfileChooser(QWidget* parent = nullptr);

    // Appends the catalog's entries in order.
    void FillCatalog();
    // Lists the user's profiles (name, base position) after the catalog, under
    // "My profiles"; with none, neither the heading. A selected profile that is
    // still listed stays selected; one that is gone leaves its base entry selected.
    void SetUserProfiles(const std::vector<std::pair<QString, int>>& profiles);

    // The selected 1-based catalog position (for a user profile: its base
    // entry's), or 0 when nothing is selected.
    int SelectedPosition() const;
    // Selects the catalog entry at a position; a position that names no entry selects nothing and
    // fails.
    bool SelectPosition(int position);
    // The selected entry's display text (for a user profile: its base entry's); empty when nothing
    // is selected.
    QString SelectedText() const;
    // The selected user profile's name; empty while a catalog entry or nothing is selected.
    QString SelectedUserProfile() const;
    bool SelectUserProfile(const QString& name);
    // The row of a user profile, or -1.
    int UserProfileRow(const QString& name) const;

  signals:
    // The user picked a catalog entry (heading or profile).
    void entryPicked(int position);
    // The user picked one of the user's own profiles.
    void userProfilePicked(const QString& name);

  private:
    int catalogRows_ = 0;
};

} // namespace vx
