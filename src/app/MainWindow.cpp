#include "MainWindow.h"

#include "CategoryArt.h"
#include "OptionSets.h"
#include "ProfileChooser.h"
#include "PropertyGrid.h"
#include "SheetLayout.h"
#include "ToolbarArt.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>

namespace vx {

MainWindow::MainWindow(std::string appFolder, QWidget* parent)
    : QMainWindow(parent), appFolder_(std::move(appFolder)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vantorix 2.00"));
    setWindowIcon(CategoryPicture(41));

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(8, 4, 8, 8);
    layout->setSpacing(6);
    layout->addWidget(BuildToolbar());

    auto* splitter = new QSplitter(Qt::Horizontal, central);
    splitter->setObjectName(QStringLiteral("mainSplitter"));
    auto* sheetFrame = new QGroupBox(tr("Options"), splitter);
    auto* sheetLayout = new QVBoxLayout(sheetFrame);
    grid_ = new PropertyGrid(sheet_, sheetFrame);
    grid_->setObjectName(QStringLiteral("PS1"));
    sheetLayout->addWidget(grid_);
    splitter->addWidget(sheetFrame);
    layout->addWidget(splitter, 1);
    setCentralWidget(central);

    BuildMenus();
    connect(chooser_, &ProfileChooser::entryPicked, this, &MainWindow::OnEntryPicked);
    StartUp();
    resize(1040, 680);
}

MainWindow::~MainWindow() {
    // The grid watches the sheet, which as a member goes before the child widgets.
    delete grid_;
}

void MainWindow::BuildMenus() {
    menuBar()->setObjectName(QStringLiteral("menuBar"));
}

QToolButton* MainWindow::AddToolbarImage(QWidget* bar, const char* name, const QString& caption,
                                         int picture) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QLatin1String(name));
    button->setText(caption);
    button->setIcon(ToolbarIcon(static_cast<ToolbarPicture>(picture)));
    button->setIconSize(QSize(32, 32));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setAutoRaise(true);
    bar->layout()->addWidget(button);
    return button;
}

QWidget* MainWindow::BuildToolbar() {
    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("Picture3"));
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    auto* label = new QLabel(QStringLiteral("Profile:"), bar);
    label->setObjectName(QStringLiteral("profileLabel"));
    chooser_ = new ProfileChooser(bar);
    label->setBuddy(chooser_);
    row->addStretch(1);
    row->addWidget(label);
    row->addWidget(chooser_);
    return bar;
}

// Start-up, in its fixed order.
void MainWindow::StartUp() {
    chooser_->FillCatalog();
    FillDefaultLayout(sheet_);
}

void MainWindow::OnEntryPicked(int position) {
    ApplyOptionSet(sheet_, position);
}

} // namespace vx
