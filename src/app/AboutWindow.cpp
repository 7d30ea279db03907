#include "AboutWindow.h"

#include "Skin.h"
#include "ToolVersion.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vx {

namespace {

const char* const kTexts[] = {
    "Thank you for using Vantorix",
    "This product includes software developed by the MPlayer Project.",
    "This product includes software developed by the FFMpeg Project.",
    "MPlayer is licensed under the GNU General Public License Version 2.",
    "FFmpeg is licensed under the GNU General Public License.",
};

} // namespace

AboutWindow::AboutWindow(const std::string& appFolder, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("About"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    int number = 1;
    for (const char* text : kTexts) {
        auto* label = new QLabel(QString::fromLatin1(text), this);
        label->setObjectName(QStringLiteral("SkinLabel%1").arg(number++));
        layout->addWidget(label);
    }
    layout->addSpacing(10);

    auto* versions = new QFormLayout;
    versions->setObjectName(QStringLiteral("versions"));
    layout->addLayout(versions);
    const QString folder = QString::fromStdString(appFolder);
    auto* fp =
        new ToolVersion(folder + QStringLiteral("/fp.dll"), {QStringLiteral("-version")}, this);
    auto* mp = new ToolVersion(folder + QStringLiteral("/mp.dll"), {}, this);
    encoder_ = AddVersionRow(versions, tr("Encoder (fp.dll):"), fp);
    encoder_->setObjectName(QStringLiteral("encoderVersion"));
    player_ = AddVersionRow(versions, tr("Player (mp.dll):"), mp);
    player_->setObjectName(QStringLiteral("playerVersion"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    auto* exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("Command3"));
    exit->setDefault(true);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    buttons->addWidget(exit);
    layout->addLayout(buttons);

    ApplySkinFile(this, appFolder);
    fp->Ask();
    mp->Ask();
}

QLabel* AboutWindow::AddVersionRow(QFormLayout* rows, const QString& caption, ToolVersion* tool) {
    auto* value = new QLabel(tr("asking..."), this);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse); // to copy into a report
    rows->addRow(caption, value);
    connect(tool, &ToolVersion::answered, value, &QLabel::setText);
    return value;
}

} // namespace vx
