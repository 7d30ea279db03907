#pragma once
// The desktop services the windows use: message boxes, file and folder
// dialogs, opening folders and pages, and powering off. Tests replace them.

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

class QWidget;

namespace vx {

enum class MessageIcon { Information, Warning, Critical };

class Desktop {
  public:
    virtual ~Desktop() = default;
    // A message box titled "Vantorix".
    virtual void ShowMessage(QWidget* parent, MessageIcon icon, const QString& text);
    // The same with a further button beside OK; true when that button was chosen.
    virtual bool ShowMessageOffering(QWidget* parent, MessageIcon icon, const QString& text,
                                     const QString& button);
    // Several existing files; empty when cancelled.
    virtual QStringList OpenFiles(QWidget* parent, const QString& title, const QString& filter);
    // A file name to save to; empty when cancelled.
    virtual QString SaveFile(QWidget* parent, const QString& title, const QString& filter);
    // A line of text, starting from `text`; nothing when cancelled.
    virtual std::optional<QString> AskText(QWidget* parent, const QString& prompt,
                                           const QString& text);
    // A question answered Yes or No; true for Yes.
    virtual bool Confirm(QWidget* parent, const QString& question);
    // One folder; empty when cancelled.
    virtual QString ChooseFolder(QWidget* parent, const QString& prompt, const QString& start);
    // Opens a folder or a page with the desktop's own handler, without waiting.
    virtual void OpenFolder(const QString& path);
    virtual void OpenUrl(const QString& url);
    // Asks the system for a regular, interactive power-off; empty when asked,
    // else why it cannot be asked for.
    virtual QString PowerOff();
    // Asks logind not to let the computer sleep until ReleaseSleep; without
    // logind nothing happens. Neither waits for an answer.
    virtual void InhibitSleep();
    virtual void ReleaseSleep();

  private:
    struct SleepLock;
    std::shared_ptr<SleepLock> sleepLock_;
};

// The real services, shared by the program's windows.
Desktop& SystemDesktop();

} // namespace vx
