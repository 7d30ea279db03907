#include "ProfileChooser.h"

#include "Catalog.h"
#include "CategoryArt.h"

#include <QFont>

namespace vx {

ProfileChooser::ProfileChooser(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("ImageCombo1"));
    setIconSize(QSize(24, 24));
    setMaxVisibleItems(20);
    setSizeAdjustPolicy(QComboBox::AdjustToContents);
    connect(this, QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { emit entryPicked(index + 1); });
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
    setCurrentIndex(-1);
}

int ProfileChooser::SelectedPosition() const {
    return currentIndex() + 1;
}

bool ProfileChooser::SelectPosition(int position) {
    if (position < 1 || position > count()) {
        setCurrentIndex(-1);
        return false;
    }
    setCurrentIndex(position - 1);
    return true;
}

QString ProfileChooser::SelectedText() const {
    return currentIndex() < 0 ? QString() : currentText();
}

} // namespace vx
