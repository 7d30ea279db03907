// The user's own profiles in the main window: saving the selected entry with the
// sheet's changed values, picking, renaming, deleting, importing and exporting.
#include "Catalog.h"
#include "Desktop.h"
#include "IniFile.h"
#include "MainWindow.h"
#include "NativeNames.h"
#include "ProfileChooser.h"
#include "Settings.h"
#include "UserProfiles.h"

#include <QAction>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <cstdio>

namespace vx {

namespace {

// The settings key under which a selected user profile is remembered; "profile"
// keeps the position of the selected catalog entry (the profile's base entry).
constexpr const char* kUserProfileKey = "userprofile";
const QString kProfileFilter = QStringLiteral("Vantorix profiles (*.vxprofile)");

bool IsProfileFile(const QString& path) {
    return path.endsWith(QLatin1String(kProfileFileExtension));
}

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QStringList ProfileFiles(const QMimeData* data) {
    QStringList files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile() && IsProfileFile(NameFromUrl(url))) files << NameFromUrl(url);
    return files;
}

// Profile files dropped anywhere on the window are imported.
class ProfileDropFilter : public QObject {
  public:
    ProfileDropFilter(MainWindow* window) : QObject(window), window_(window) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            if (ProfileFiles(drag->mimeData()).isEmpty()) return false;
            drag->acceptProposedAction();
            return true;
        }
        if (event->type() == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList files = ProfileFiles(drop->mimeData());
            if (files.isEmpty()) return false;
            drop->acceptProposedAction();
            window_->ImportProfileFiles(files);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    MainWindow* window_;
};

} // namespace

UserProfileStore& MainWindow::userProfiles() {
    return *userProfiles_;
}

void MainWindow::BuildProfileCommands() {
    QAction* save = MakeAction("SaveMyProfile", QStringLiteral("Save as my profile..."));
    QAction* rename = MakeAction("RenameMyProfile", QStringLiteral("Rename my profile..."));
    QAction* remove = MakeAction("DeleteMyProfile", QStringLiteral("Delete my profile"));
    QAction* import = MakeAction("ImportProfile", QStringLiteral("Import profile..."));
    QAction* exportTo = MakeAction("ExportProfile", QStringLiteral("Export profile..."));
    connect(save, &QAction::triggered, this, &MainWindow::SaveAsMyProfile);
    connect(rename, &QAction::triggered, this, &MainWindow::RenameMyProfile);
    connect(remove, &QAction::triggered, this, &MainWindow::DeleteMyProfile);
    connect(import, &QAction::triggered, this, &MainWindow::ImportProfiles);
    connect(exportTo, &QAction::triggered, this, &MainWindow::ExportMyProfile);
    if (auto* edit = menuBar()->findChild<QMenu*>(QStringLiteral("edit"))) {
        edit->addSeparator()->setObjectName(QStringLiteral("fgProfiles"));
        edit->addActions({save, import, exportTo});
    }
    profileMenu_ = new QMenu(this);
    profileMenu_->setObjectName(QStringLiteral("profileMenu"));
    profileMenu_->addActions({save, rename, remove});
    profileMenu_->addSeparator();
    profileMenu_->addActions({import, exportTo});
    // Rename, Delete and Export act on the selected user profile.
    auto follow = [this, rename, remove, exportTo] {
        const bool own = !chooser_->SelectedUserProfile().isEmpty();
        for (QAction* action : {rename, remove, exportTo})
            action->setEnabled(own);
    };
    connect(chooser_, &QComboBox::currentIndexChanged, this, follow);
    follow();
    chooser_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(chooser_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) { profileMenu_->popup(chooser_->mapToGlobal(at)); });
    connect(chooser_, &ProfileChooser::userProfilePicked, this, &MainWindow::OnUserProfilePicked);
    setAcceptDrops(true);
    installEventFilter(new ProfileDropFilter(this));
}

// Loads the profiles folder; a file that holds no usable profile is named on
// standard error, once per start.
void MainWindow::LoadUserProfiles() {
    userProfiles_ = std::make_unique<UserProfileStore>();
    for (const ProfileRejection& rejected : userProfiles_->Load())
        std::fprintf(stderr, "vantorix: the profile file %s is skipped: %s\n",
                     rejected.file.c_str(), rejected.reason.c_str());
    ShowUserProfiles();
}

// The selected user profile of the last run, when it is still there.
void MainWindow::RestoreUserProfile() {
    const std::string name =
        ReadSetting(SettingsPath(appFolder_), kSettingsSection, kUserProfileKey);
    if (name.empty() || !chooser_->SelectUserProfile(Q(name))) return;
    OnUserProfilePicked(Q(name));
}

void MainWindow::RememberUserProfile() {
    const std::string path = SettingsPath(appFolder_);
    const std::string name = chooser_->SelectedUserProfile().toStdString();
    if (name.empty() && ReadSetting(path, kSettingsSection, kUserProfileKey).empty()) return;
    if (WriteOutcome written = WriteSetting(path, kSettingsSection, kUserProfileKey, name);
        !written)
        std::fprintf(stderr, "vantorix: the selected profile could not be saved to %s: %s\n",
                     path.c_str(), written.reason.c_str());
}

void MainWindow::ShowUserProfiles() {
    std::vector<std::pair<QString, int>> listed;
    for (const UserProfile& profile : userProfiles_->Profiles())
        listed.emplace_back(Q(profile.name), profile.base);
    chooser_->SetUserProfiles(listed);
}

void MainWindow::OnUserProfilePicked(const QString& name) {
    if (const UserProfile* profile = userProfiles_->Find(name.toStdString()))
        ApplyUserProfile(sheet_, *profile);
}

// Asks for a profile name; nothing when cancelled or refused (with a message).
std::optional<std::string> MainWindow::AskProfileName(const QString& prompt,
                                                      const QString& suggested) {
    const auto answer = desktop_.AskText(this, prompt, suggested);
    if (!answer) return std::nullopt;
    const std::string name = answer->toStdString();
    if (const auto problem = ProfileNameProblem(name)) {
        desktop_.ShowMessage(this, MessageIcon::Critical, Q(*problem));
        return std::nullopt;
    }
    return name;
}

bool MainWindow::MayReplaceProfile(const std::string& name) {
    return !userProfiles_->Find(name) ||
           desktop_.Confirm(this, QStringLiteral("A profile named \"%1\" exists already. "
                                                 "Replace it?")
                                      .arg(Q(name)));
}

void MainWindow::SaveAsMyProfile() {
    const int base = chooser_->SelectedPosition();
    const CatalogEntry* entry = ProfileCatalog::At(base);
    if (!entry || entry->kind != EntryKind::Profile) {
        desktop_.ShowMessage(this, MessageIcon::Information,
                             QStringLiteral("Please choose an output profile (a format, not a "
                                            "heading) in the Profile list before saving it."));
        return;
    }
    const QString current = chooser_->SelectedUserProfile();
    const auto name = AskProfileName(QStringLiteral("Save the options as your profile named:"),
                                     current.isEmpty() ? QString::fromUtf8(entry->text) : current);
    if (!name || !MayReplaceProfile(*name)) return;
    const ProfileOutcome saved =
        userProfiles_->Save({*name, base, ChangedValues(sheet_, base), {}});
    if (!saved) return desktop_.ShowMessage(this, MessageIcon::Critical, Q(saved.reason));
    ShowUserProfiles();
    chooser_->SelectUserProfile(Q(*name));
}

void MainWindow::RenameMyProfile() {
    const QString current = chooser_->SelectedUserProfile();
    if (current.isEmpty()) return;
    const auto name = AskProfileName(QStringLiteral("New name of the profile:"), current);
    if (!name) return;
    const ProfileOutcome renamed = userProfiles_->Rename(current.toStdString(), *name);
    if (!renamed) return desktop_.ShowMessage(this, MessageIcon::Critical, Q(renamed.reason));
    ShowUserProfiles();
    chooser_->SelectUserProfile(Q(*name));
}

void MainWindow::DeleteMyProfile() {
    const QString current = chooser_->SelectedUserProfile();
    if (current.isEmpty() ||
        !desktop_.Confirm(this, QStringLiteral("Delete the profile \"%1\"?").arg(current)))
        return;
    const ProfileOutcome removed = userProfiles_->Remove(current.toStdString());
    if (!removed) return desktop_.ShowMessage(this, MessageIcon::Critical, Q(removed.reason));
    ShowUserProfiles(); // its base entry stays selected
}

void MainWindow::ImportProfiles() {
    ImportProfileFiles(desktop_.OpenFiles(this, QStringLiteral("Import Profile"), kProfileFilter));
}

QStringList MainWindow::ImportProfileFiles(const QStringList& paths) {
    QStringList others;
    bool imported = false;
    for (const QString& path : paths) {
        if (!IsProfileFile(path)) {
            others << path;
            continue;
        }
        std::string reason;
        const auto profile = ReadProfileFile(BytesOfName(path), &reason);
        if (!profile) {
            desktop_.ShowMessage(
                this, MessageIcon::Critical,
                QStringLiteral("%1 holds no usable profile: %2.").arg(path, Q(reason)));
            continue;
        }
        if (!MayReplaceProfile(profile->name)) continue;
        const ProfileOutcome done = userProfiles_->Import(BytesOfName(path));
        if (!done) desktop_.ShowMessage(this, MessageIcon::Critical, Q(done.reason));
        imported |= bool(done);
    }
    if (imported) ShowUserProfiles();
    return others;
}

void MainWindow::ExportMyProfile() {
    const QString current = chooser_->SelectedUserProfile();
    if (current.isEmpty()) {
        desktop_.ShowMessage(this, MessageIcon::Information,
                             QStringLiteral("Please choose one of your profiles to export."));
        return;
    }
    QString file = desktop_.SaveFile(this, QStringLiteral("Export Profile"), kProfileFilter);
    if (file.isEmpty()) return;
    if (!IsProfileFile(file)) file += QLatin1String(kProfileFileExtension);
    const ProfileOutcome done = userProfiles_->Export(current.toStdString(), file.toStdString());
    if (!done) desktop_.ShowMessage(this, MessageIcon::Critical, Q(done.reason));
}

} // namespace vx
