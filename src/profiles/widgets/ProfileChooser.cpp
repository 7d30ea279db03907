#include "ProfileChooser.h"

#include "Catalog.h"
#include "CategoryArt.h"

#include <QFont>
#include <QStandardItemModel>

namespace vx {

namespace {

enum Role { BaseRole = Qt::UserRole + 1, NameRole };

// The picture of the category an entry belongs to: that of the nearest heading at or above it.
QIcon CategoryPictureOf(int position) {
    for (int p = position; p >= 1; --p)
        if (const CatalogEntry* entry = ProfileCatalog::At(p); entry->kind == EntryKind::Heading)
            return CategoryPicture(entry->picture);
    return {};
}

} // namespace

ProfileChooser::ProfileChooser(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("ImageCombo1"));
    setIconSize(QSize(24, 24));
    setMaxVisibleItems(20);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(this, QOverload<int>::of(&QComboBox::activated), this, [this](int index) {
        if (index < catalogRows_)
            emit entryPicked(index + 1);
        else if (const QString name = itemData(index, NameRole).toString(); !name.isEmpty())
            emit userProfilePicked(name);
    });
}

void ProfileChooser::FillCatalog() {
    QFont headingFont = font();
    headingFont.setBold(true);
    for (int position = 1; position <= ProfileCatalog::kEntryCount; ++position) {
        const CatalogEntry* entry = ProfileCatalog::At(position);
        const QString text = QString::fromUtf8(entry->text);
        if (entry->kind == EntryKind::Heading) {
            addItem(CategoryPicture(entry->picture), text);
            setItemData(count() - 1, headingFont, Qt::FontRole);
        } else {
            addItem(text);
        }
    }
    catalogRows_ = count();
    setCurrentIndex(-1);
}

void ProfileChooser::SetUserProfiles(const std::vector<std::pair<QString, int>>& profiles) {
    const QString selected = SelectedUserProfile();
    const int base = SelectedPosition();
    while (count() > catalogRows_)
        removeItem(count() - 1);
    if (!profiles.empty()) {
        addItem(tr("My profiles"));
        QFont headingFont = font();
        headingFont.setBold(true);
        setItemData(count() - 1, headingFont, Qt::FontRole);
        // The heading names the group; it is no entry to pick.
        if (auto* items = qobject_cast<QStandardItemModel*>(model()))
            items->item(count() - 1)->setEnabled(false);
    }
    for (const auto& [name, position] : profiles) {
        addItem(CategoryPictureOf(position), name);
        setItemData(count() - 1, position, BaseRole);
        setItemData(count() - 1, name, NameRole);
    }
    if (selected.isEmpty() || !SelectUserProfile(selected))
        setCurrentIndex(base > 0 ? base - 1 : -1);
}

int ProfileChooser::SelectedPosition() const {
    const int index = currentIndex();
    if (index < catalogRows_) return index + 1;
    return itemData(index, BaseRole).toInt(); // 0 for the heading "My profiles"
}

bool ProfileChooser::SelectPosition(int position) {
    if (position < 1 || position > catalogRows_) {
        setCurrentIndex(-1);
        return false;
    }
    setCurrentIndex(position - 1);
    return true;
}

QString ProfileChooser::SelectedText() const {
    const int position = SelectedPosition();
    return position > 0 ? itemText(position - 1) : QString();
}

QString ProfileChooser::SelectedUserProfile() const {
    const int index = currentIndex();
    return index < catalogRows_ ? QString() : itemData(index, NameRole).toString();
}

int ProfileChooser::UserProfileRow(const QString& name) const {
    for (int row = catalogRows_; row < count(); ++row)
        if (itemData(row, NameRole).toString() == name && !name.isEmpty()) return row;
    return -1;
}

bool ProfileChooser::SelectUserProfile(const QString& name) {
    const int row = UserProfileRow(name);
    if (row < 0) return false;
    setCurrentIndex(row);
    return true;
}

} // namespace vx
