// The guide names only commands, settings and options the program has. The
// built pages mark every such name:
//   class="command"   a caption of the main window (menu, pop-up, toolbar, button, label)
//   class="setting"   a caption of the settings dialog
//   class="option"    a group or item of the option sheet
//   class="window-command" data-window="W"
//                     a caption of a window still being built: W is "Form2" (the
//                     trimming window, opened by Video Clip), "Form3" (the capture
//                     window) or "preview" (the main window's preview, present once
//                     its button cmdPlay is); checked as soon as that window exists
//   class="setting pending"
//                     a setting announced for a coming version; checked once it exists
// Other marks (messages, statuses) are only for the look.
#include "Catalog.h"
#include "CommandEffects.h"
#include "FakeDesktop.h"
#include "MainWindow.h"
#include "OptionSets.h"
#include "OptionSheet.h"
#include "SettingsDialog.h"
#include "SheetLayout.h"
#include "SourceListView.h"
#include "WindowKit.h"

#include <QAbstractButton>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocumentFragment>
#include <QtTest>

using namespace vx;

namespace {

struct Mark {
    QString kind, window, name, page;
};

QList<Mark> Marks() {
    static const QRegularExpression kSpan(
        R"re(<span class="([^"]+)"(?:\s+data-window="([^"]*)")?\s*>(.*?)</span>)re",
        QRegularExpression::DotMatchesEverythingOption);
    QList<Mark> marks;
    const QDir help(QStringLiteral(VX_APP_DIR "/help"));
    for (const QString& page : help.entryList({"*.html"})) {
        QFile file(help.filePath(page));
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString text = QString::fromUtf8(file.readAll());
        for (auto it = kSpan.globalMatch(text); it.hasNext();) {
            const auto match = it.next();
            const QString name =
                QTextDocumentFragment::fromHtml(match.captured(3)).toPlainText().simplified();
            marks.append({match.captured(1), match.captured(2), name, page});
        }
    }
    return marks;
}

// A caption as the user reads it: without its mnemonic ("File(&F)" reads "File").
QString Plain(QString caption) {
    static const QRegularExpression kMnemonic(R"(\(&\w\)$)");
    return caption.remove(kMnemonic).remove('&').simplified();
}

// Every caption a window shows: actions, menus, buttons, labels, frames, its title.
QSet<QString> Captions(QWidget* window) {
    QSet<QString> captions{Plain(window->windowTitle())};
    for (QAction* action : window->findChildren<QAction*>())
        captions << Plain(action->text()) << Plain(action->toolTip());
    for (QMenu* menu : window->findChildren<QMenu*>())
        captions << Plain(menu->title());
    for (QAbstractButton* button : window->findChildren<QAbstractButton*>())
        captions << Plain(button->text()) << Plain(button->toolTip());
    for (QLabel* label : window->findChildren<QLabel*>())
        captions << Plain(label->text());
    for (QGroupBox* frame : window->findChildren<QGroupBox*>())
        captions << Plain(frame->title());
    captions.remove(QString());
    return captions;
}

} // namespace

class HelpNamesTest : public QObject {
    Q_OBJECT
  private slots:
    void everyMarkedNameExists();

  private:
    QSet<QString> ModalCaptions(MainWindow& window, const char* command);
    vxtest::FakeDesktop desktop_;
};

// The captions of the modal window a command opens, or nothing while the command is unavailable.
QSet<QString> HelpNamesTest::ModalCaptions(MainWindow& window, const char* command) {
    QSet<QString> captions;
    if (!window.action(command)->isEnabled()) return captions;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            captions = Captions(modal);
            modal->close();
        }
    });
    closer.start(5);
    window.action(command)->trigger();
    return captions;
}

void HelpNamesTest::everyMarkedNameExists() {
    const QList<Mark> marks = Marks();
    QVERIFY2(marks.size() > 100, "the guide marks too few names");
    QTemporaryDir folder;
    const auto window = vxtest::OpenWindow(folder.path().toStdString(), desktop_);
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    desktop_.nextFiles = {folder.path() + "/a.flv"};
    window->AddFiles();
    QTRY_COMPARE(window->probing(), 0);
    window->listView()->setCurrentIndex(window->listView()->model()->index(0, 0));

    QMap<QString, QSet<QString>> known;
    known["command"] = Captions(window.get());
    SettingsDialog settings(folder.path().toStdString(), desktop_);
    known["setting"] = Captions(&settings);
    // The sheet as it comes and as the last entry (one of today's formats) makes it.
    OptionSheet later;
    FillDefaultLayout(later);
    ApplyOptionSet(later, ProfileCatalog::kEntryCount);
    for (const OptionSheet* sheet : {&window->sheet(), &later})
        for (const auto& group : sheet->Groups()) {
            known["option"] << QString::fromStdString(group->caption);
            for (const auto& item : group->items)
                known["option"] << QString::fromStdString(item->caption);
        }
    // Windows built by others appear here once they exist.
    QMap<QString, QSet<QString>> windows;
    windows["preview"] =
        window->findChild<QWidget*>("cmdPlay") ? known["command"] : QSet<QString>{};
    windows["Form2"] = ModalCaptions(*window, "videoclip");
    windows["Form3"] = ModalCaptions(*window, "Capture");

    QStringList missing, waiting;
    for (const Mark& mark : marks) {
        const QString where = mark.page + ": " + mark.kind + " " + mark.name;
        if (mark.kind == "window-command") {
            if (!windows.contains(mark.window)) {
                missing << where + " (unknown window " + mark.window + ")";
            } else if (windows[mark.window].isEmpty()) {
                waiting << where;
            } else if (!windows[mark.window].contains(mark.name)) {
                missing << where;
            }
        } else if (mark.kind == "setting pending") {
            if (!known["setting"].contains(mark.name)) waiting << where;
        } else if (known.contains(mark.kind) && !known[mark.kind].contains(mark.name)) {
            missing << where;
        }
    }
    if (!waiting.isEmpty()) qInfo().noquote() << "not yet checked:" << waiting.join("; ");
    QVERIFY2(missing.isEmpty(),
             qPrintable("named in the guide, absent from the program:\n" + missing.join('\n')));
}

QTEST_MAIN(HelpNamesTest)
#include "HelpNamesTest.moc"
