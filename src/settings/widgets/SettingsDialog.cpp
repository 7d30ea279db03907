#include "SettingsDialog.h"

#include "Desktop.h"
#include "Settings.h"
#include "Skin.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vx {

namespace {

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

} // namespace

SettingsDialog::SettingsDialog(std::string appFolder, Desktop& desktop, QWidget* parent)
    : QDialog(parent), appFolder_(std::move(appFolder)), desktop_(desktop) {
    setObjectName(QStringLiteral("Frmset"));
    setWindowTitle(QStringLiteral("Video Options"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);

    auto* saveFrame = new QGroupBox(QStringLiteral("Save Video Files to"), this);
    auto* saveRow = new QHBoxLayout(saveFrame);
    saveRow->addWidget(new QLabel(QStringLiteral("Output Folder"), saveFrame));
    text2_ = Named(new QLineEdit(saveFrame), "Text2");
    text2_->setMinimumWidth(300);
    saveRow->addWidget(text2_, 1);
    command4_ = Named(new QPushButton(QStringLiteral("Browse..."), saveFrame), "Command4");
    command4_->setAutoDefault(false);
    saveRow->addWidget(command4_);
    layout->addWidget(saveFrame);
    keepFolders_ = Named(new QCheckBox(QStringLiteral("Keep the folders of added folders"), this),
                         "chkKeepFolders");
    layout->addWidget(keepFolders_);

    auto* existedFrame = new QGroupBox(QStringLiteral("If same as an existed file"), this);
    auto* existedColumn = new QVBoxLayout(existedFrame);
    option1_ = Named(new QRadioButton(QStringLiteral("Add \"New\" after filename"), existedFrame),
                     "Option1");
    option2_ = Named(new QRadioButton(QStringLiteral("Overwrite the existed file"), existedFrame),
                     "Option2");
    existedColumn->addWidget(option1_);
    existedColumn->addWidget(option2_);
    layout->addWidget(existedFrame);

    check1_ = Named(
        new QCheckBox(QStringLiteral("Automatically Shutdown Computer After Conversion"), this),
        "Check1");
    layout->addWidget(check1_);

    auto* threadFrame = new QGroupBox(QStringLiteral("Thread"), this);
    auto* threadRow = new QHBoxLayout(threadFrame);
    threadRow->addWidget(new QLabel(QStringLiteral("Number of threads to use for"), threadFrame));
    text1_ = Named(new QLineEdit(QStringLiteral("0"), threadFrame), "Text1");
    text1_->setMaximumWidth(60);
    threadRow->addWidget(text1_);
    threadRow->addWidget(
        new QLabel(QStringLiteral("(0-8), 0 - Disable multi-thread"), threadFrame));
    threadRow->addStretch(1);
    layout->addWidget(threadFrame);

    auto* parallelRow = new QHBoxLayout;
    auto* parallelLabel = new QLabel(QStringLiteral("Files converted at &once:"), this);
    parallel_ = Named(new QLineEdit(QStringLiteral("0"), this), "txtParallel");
    parallel_->setMaximumWidth(60);
    parallelLabel->setBuddy(parallel_);
    parallelRow->addWidget(parallelLabel);
    parallelRow->addWidget(parallel_);
    parallelRow->addWidget(new QLabel(QStringLiteral("(1-16), 0 - Automatic"), this));
    parallelRow->addStretch(1);
    layout->addLayout(parallelRow);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    command1_ = Named(new QPushButton(QStringLiteral("OK"), this), "Command1");
    command1_->setDefault(true);
    command2_ = Named(new QPushButton(QStringLiteral("Cancel"), this), "Command2");
    command2_->setAutoDefault(false);
    buttons->addWidget(command1_);
    buttons->addWidget(command2_);
    layout->addLayout(buttons);

    connect(command4_, &QPushButton::clicked, this, &SettingsDialog::Browse);
    connect(command1_, &QPushButton::clicked, this, &SettingsDialog::Ok);
    connect(command2_, &QPushButton::clicked, this, &QDialog::reject);
    ApplySkinFile(this, appFolder_);
    Load();
}

void SettingsDialog::Load() {
    const SettingsView view = LoadSettingsView(appFolder_);
    text2_->setText(QString::fromStdString(view.outputFolder));
    (view.overwrite ? option2_ : option1_)->setChecked(true);
    check1_->setChecked(view.autoShutdown);
    keepFolders_->setChecked(view.keepFolders);
    text1_->setText(QString::fromStdString(view.threads));
    parallel_->setText(QString::fromStdString(view.parallel));
}

void SettingsDialog::Browse() {
    const QString folder = desktop_.ChooseFolder(this, QStringLiteral("Vantorix"), text2_->text());
    if (!folder.isEmpty()) text2_->setText(folder);
}

void SettingsDialog::Ok() {
    SettingsView view;
    view.outputFolder = text2_->text().toStdString();
    view.overwrite = !option1_->isChecked();
    view.autoShutdown = check1_->isChecked();
    view.keepFolders = keepFolders_->isChecked();
    view.threads = text1_->text().toStdString();
    view.parallel = parallel_->text().toStdString();
    const SaveOutcome saved = SaveSettingsView(appFolder_, view);
    switch (saved.result) {
    case SaveResult::ThreadError:
        desktop_.ShowMessage(this, MessageIcon::Critical, QStringLiteral("Thread error!"));
        return;
    case SaveResult::ParallelError:
        desktop_.ShowMessage(this, MessageIcon::Critical,
                             QStringLiteral("Files converted at once: enter 0 (automatic) or a "
                                            "number from 1 to 16."));
        return;
    case SaveResult::LineBreak:
        desktop_.ShowMessage(this, MessageIcon::Critical,
                             QStringLiteral("The output folder cannot hold a line break. "
                                            "Choose a folder whose name is on one line."));
        return;
    case SaveResult::WriteError:
        desktop_.ShowMessage(this, MessageIcon::Critical,
                             QStringLiteral("The settings could not be saved to %1: %2")
                                 .arg(QString::fromStdString(SettingsPath(appFolder_)),
                                      QString::fromStdString(saved.reason)));
        return;
    case SaveResult::Saved:
        accept();
    }
}

} // namespace vx
