#pragma once
// A desktop whose dialogs answer from a script and whose message boxes,
// folder openings and power-offs are only recorded.

#include "Desktop.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <utility>
#include <vector>

namespace vxtest {

class FakeDesktop : public vx::Desktop {
  public:
    std::vector<std::pair<vx::MessageIcon, QString>> messages;
    QStringList openedFolders;
    QStringList openedUrls;
    int powerOffs = 0;
    QStringList nextFiles; // what the next open-files dialog returns
    QString nextFolder;    // what the next folder dialog returns
    QString nextSaveFile;  // what the next save dialog returns
    QString lastDialogTitle, lastDialogFilter;
    std::deque<QString> nextTexts; // answers of the next text prompts; none left: cancelled
    std::deque<bool> nextConfirms; // answers of the next questions; none left: No
    QStringList asked;             // every prompt and question, in order
    QStringList offered;           // the further buttons of the messages, in order
    std::deque<bool> nextOffers;   // whether the next further buttons are chosen; none left: OK

    void ShowMessage(QWidget*, vx::MessageIcon icon, const QString& text) override {
        messages.emplace_back(icon, text);
    }
    bool ShowMessageOffering(QWidget*, vx::MessageIcon icon, const QString& text,
                             const QString& button) override {
        messages.emplace_back(icon, text);
        offered << button;
        if (nextOffers.empty()) return false;
        const bool chosen = nextOffers.front();
        nextOffers.pop_front();
        return chosen;
    }
    QStringList OpenFiles(QWidget*, const QString& title, const QString& filter) override {
        lastDialogTitle = title;
        lastDialogFilter = filter;
        return std::exchange(nextFiles, {});
    }
    QString SaveFile(QWidget*, const QString& title, const QString& filter) override {
        lastDialogTitle = title;
        lastDialogFilter = filter;
        return std::exchange(nextSaveFile, {});
    }
    std::optional<QString> AskText(QWidget*, const QString& prompt, const QString&) override {
        asked << prompt;
        if (nextTexts.empty()) return std::nullopt;
        QString answer = nextTexts.front();
        nextTexts.pop_front();
        return answer;
    }
    bool Confirm(QWidget*, const QString& question) override {
        asked << question;
        if (nextConfirms.empty()) return false;
        const bool answer = nextConfirms.front();
        nextConfirms.pop_front();
        return answer;
    }
    QString ChooseFolder(QWidget*, const QString&, const QString&) override {
        return std::exchange(nextFolder, {});
    }
    void OpenFolder(const QString& path) override { openedFolders << path; }
    void OpenUrl(const QString& url) override { openedUrls << url; }
    QString powerOffRefusal; // why the power-off cannot be asked for; empty: asked
    QString PowerOff() override {
        ++powerOffs;
        return powerOffRefusal;
    }
};

} // namespace vxtest
