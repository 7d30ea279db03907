#pragma once
// One window per user session. The first window owns a name on the session bus,
// the desktop entry's id; a later start hands its files to that window and ends.
// The name answers the desktop's application interface (Activate, Open), so a
// launcher that speaks it reaches the same window.

#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

namespace vx {

class MainWindow;

class OneWindow : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
  public:
    // desktopId: the desktop entry's id without ".desktop" (org.vantorix.Vantorix).
    explicit OneWindow(const QString& desktopId, QObject* parent = nullptr);
    ~OneWindow() override;

    const QString& service() const { return service_; }
    // Takes the name for this process; false without a session bus or while
    // another process owns it.
    bool Claim();
    // Files handed over from now on are added to the window as a drop adds them,
    // and the window comes to the front.
    void Serve(MainWindow& window);
    // Gives the files to the window that owns the name (none: it only comes to the
    // front); relative names are taken from the current folder. False when no
    // window took them.
    bool HandOff(const QStringList& files) const;

  public slots:
    Q_SCRIPTABLE void Activate(const QVariantMap& platformData);
    Q_SCRIPTABLE void Open(const QStringList& uris, const QVariantMap& platformData);
    Q_SCRIPTABLE void ActivateAction(const QString& action, const QVariantList& parameter,
                                     const QVariantMap& platformData);

  signals:
    // The local files another start handed over; empty when it named none.
    void handedOver(const QStringList& paths);

  private:
    QString service_, path_;
    bool claimed_ = false;
};

} // namespace vx
