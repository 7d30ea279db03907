// The capture window with the real encoder on the generated test picture.
#include "CaptureWindow.h"
#include "CaptureFiles.h"
#include "FakeDesktop.h"
#include "FrameSurface.h"
#include "MainWindow.h"
#include "TestMedia.h"
#include "VideoCapture.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTimer>
#include <QtTest>
#include <filesystem>

using namespace vx;
namespace fs = std::filesystem;

class CaptureWindowTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void opensWithTheDeviceSelectedAndBrowseNamesTheFile();
    void withoutADeviceTheButtonsAreDisabled();
    void previewPaintsTheCamerasPicturesAndAnotherDeviceReconnects();
    void recordsAndCountsTheFrames();
    void startOrPreviewWhileRecordingStopsIt();
    void aFailedRecordingFreesTheButtons();
    void recordingTwiceUnderOneNameKeepsBoth();
    void exitWhileRecordingLeavesAFinishedFile();
    void closeBoxAndEscapeEndTheEncoder();
    void mainWindowCommandsOpenItModally();

  private:
    void Open(std::vector<CaptureSource> sources = {TestPatternSource()});
    template <typename W> W* Find(const char* name) {
        return window_->findChild<W*>(QLatin1String(name));
    }
    QPushButton* Button(const char* name) { return Find<QPushButton>(name); }
    QString Status() { return Find<QLabel>("Label2")->text(); }
    int EncoderPid() { return dynamic_cast<VideoCapture&>(window_->control()).EncoderPid(); }
    // The share of the surface's pixels that are not black.
    double LitShare();
    void Record(const QString& file);

    std::string app_;
    std::optional<vxtest::ScopedEnvironment> environment_;
    vxtest::FakeDesktop desktop_;
    std::unique_ptr<CaptureWindow> window_;
};

void CaptureWindowTest::init() {
    app_ = vxtest::MakeTempFolder("vx-capture-window");
    fs::create_symlink(std::string(VX_APP_DIR) + "/fp.dll", app_ + "/fp.dll");
    desktop_ = vxtest::FakeDesktop();
    // The default file lies in the user's videos folder or home: here, the test's folder.
    environment_.emplace(
        vxtest::ScopedEnvironment::Values{{"HOME", app_}, {"XDG_CONFIG_HOME", app_ + "/config"}});
}

void CaptureWindowTest::cleanup() {
    window_.reset();
    QTRY_COMPARE_WITH_TIMEOUT(vxtest::ChildProcesses(), 0, 15000);
    vxtest::RemoveFolder(app_);
    environment_.reset();
}

void CaptureWindowTest::Open(std::vector<CaptureSource> sources) {
    window_ = std::make_unique<CaptureWindow>(
        app_, desktop_, std::make_unique<VideoCapture>(app_ + "/fp.dll", std::move(sources)));
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

double CaptureWindowTest::LitShare() {
    const QImage image = window_->surface()->grab().toImage();
    qint64 lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            lit += qGray(image.pixel(x, y)) > 16;
    return double(lit) / (double(image.width()) * image.height());
}

void CaptureWindowTest::Record(const QString& file) {
    Find<QLineEdit>("Text1")->setText(file);
    Button("Command1")->click();
    QVERIFY(window_->control().Recording());
    QVERIFY(!Button("Command1")->isEnabled());
    QVERIFY(!Button("Command3")->isEnabled());
    QVERIFY(Button("Command2")->isEnabled());
    // Counted from the first frames recorded, whatever the encoder's start-up takes.
    QTRY_VERIFY_WITH_TIMEOUT(window_->control().Statistics().frames > 0, 20000);
}

void CaptureWindowTest::opensWithTheDeviceSelectedAndBrowseNamesTheFile() {
    Open();
    QCOMPARE(window_->windowTitle(), QStringLiteral("Capture Video From DV"));
    QCOMPARE(window_->objectName(), QStringLiteral("Form3"));
    QVERIFY(window_->isModal());
    auto* combo = Find<QComboBox>("Combo1");
    QCOMPARE(combo->count(), 1);
    QCOMPARE(combo->currentIndex(), 0);
    QCOMPARE(combo->currentText(), QString::fromStdString(TestPatternSource().name));
    for (const char* name : {"Command1", "Command2", "Command3", "Command4"})
        QVERIFY2(Button(name)->isEnabled(), name);
    QCOMPARE(Button("Command5")->text(), QStringLiteral("Browse..."));
    // The test picture has no pan, tilt, roll or zoom.
    for (int i = 0; i < 4; ++i)
        QVERIFY(!window_->findChild<QSlider*>(QStringLiteral("Slider%1").arg(i))->isEnabled());
    QVERIFY(Find<QLineEdit>("Text1")->text().endsWith(QStringLiteral("/dvcapture.avi")));
    QCOMPARE(Find<QTimer>("Timer1")->interval(), 500);
    QVERIFY(Find<QTimer>("Timer1")->isActive());
    // Connected but not previewing: the surface is black and no encoder runs.
    QCOMPARE(LitShare(), 0.0);
    QCOMPARE(vxtest::ChildProcesses(), 0);
    // Stop before any recording does nothing harmful.
    Button("Command2")->click();
    QVERIFY(Button("Command1")->isEnabled());
    QCOMPARE(Status(), QString());
    // Browse takes the chosen name; a cancelled dialog keeps it.
    desktop_.nextSaveFile = QStringLiteral("/tmp/chosen.avi");
    Button("Command5")->click();
    QCOMPARE(desktop_.lastDialogTitle, QStringLiteral("Save Video File"));
    QCOMPARE(desktop_.lastDialogFilter, QStringLiteral("Avi Video file (*.avi)"));
    QCOMPARE(Find<QLineEdit>("Text1")->text(), QStringLiteral("/tmp/chosen.avi"));
    Button("Command5")->click();
    QCOMPARE(Find<QLineEdit>("Text1")->text(), QStringLiteral("/tmp/chosen.avi"));
}

void CaptureWindowTest::withoutADeviceTheButtonsAreDisabled() {
    // The real enumeration over a device folder without capture devices.
    fs::create_symlink("/dev/null", app_ + "/video0");
    window_ =
        std::make_unique<CaptureWindow>(app_, desktop_, MakeV4l2Capture(app_ + "/fp.dll", app_));
    window_->show();
    QCOMPARE(Find<QComboBox>("Combo1")->count(), 0);
    for (const char* name : {"Command1", "Command2", "Command3"})
        QVERIFY2(!Button(name)->isEnabled(), name);
    QVERIFY(Button("Command4")->isEnabled());
    for (int i = 0; i < 4; ++i)
        QVERIFY(!window_->findChild<QSlider*>(QStringLiteral("Slider%1").arg(i))->isEnabled());
    QTest::qWait(600);
    QCOMPARE(vxtest::ChildProcesses(), 0);
    Button("Command4")->click();
    QVERIFY(!window_->isVisible());
}

void CaptureWindowTest::previewPaintsTheCamerasPicturesAndAnotherDeviceReconnects() {
    CaptureSource second{
        "Second", {"-f", "lavfi", "-i", "testsrc2=size=320x240:rate=25,realtime"}, {}};
    Open({TestPatternSource(), second});
    Button("Command3")->click();
    QTRY_VERIFY_WITH_TIMEOUT(window_->surface()->PaintedFrames() > 10, 20000);
    QVERIFY2(LitShare() > 0.5, qPrintable(QString::number(LitShare())));
    QCOMPARE(vxtest::ChildProcesses(), 1);
    QVERIFY(!window_->control().Recording());
    QCOMPARE(Status(), QString());
    // A second Preview keeps the one encoder.
    const int first = EncoderPid();
    Button("Command3")->click();
    QTest::qWait(300);
    QCOMPARE(EncoderPid(), first);
    // Choosing another device reconnects.
    auto* combo = Find<QComboBox>("Combo1");
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QTRY_VERIFY_WITH_TIMEOUT(EncoderPid() > 0 && EncoderPid() != first, 10000);
    // The new encoder reads the second device (its command line, once its launcher has run).
    auto commandLine = [&] {
        return vxtest::ReadFile("/proc/" + std::to_string(EncoderPid()) + "/cmdline");
    };
    QTRY_VERIFY_WITH_TIMEOUT(commandLine().find("testsrc2") != std::string::npos, 5000);
    const auto painted = window_->surface()->PaintedFrames();
    QTRY_VERIFY_WITH_TIMEOUT(window_->surface()->PaintedFrames() > painted + 5, 20000);
    QCOMPARE(vxtest::ChildProcesses(), 1);
}

void CaptureWindowTest::recordsAndCountsTheFrames() {
    Open();
    const QString file = QString::fromStdString(app_ + "/three seconds.avi");
    Record(file);
    // The three seconds count from the frames seen so far: an encoder may report
    // its first frames late, and in one block.
    const auto seen = window_->control().Statistics().frames;
    QTest::qWait(3000);
    QVERIFY(QRegularExpression(
                QStringLiteral("^\\d+ frames \\(\\d+ dropped\\) - \\d+\\.\\d\\d sec\\.$"))
                .match(Status())
                .hasMatch());
    Button("Command2")->click();
    QVERIFY(Button("Command1")->isEnabled());
    QVERIFY(Button("Command3")->isEnabled());
    QVERIFY(!window_->control().Recording());
    QTRY_VERIFY_WITH_TIMEOUT(window_->control().Statistics().final, 10000);
    QTest::qWait(700); // the next status tick

    const vxtest::Recording recorded = vxtest::ProbeRecording(file.toStdString());
    QVERIFY(recorded.ok);
    QCOMPARE(recorded.codec, std::string("mjpeg"));
    QCOMPARE(recorded.width, 640);
    QCOMPARE(recorded.height, 480);
    QVERIFY2(vxtest::Near(recorded.frames - seen, 75, 0.2),
             qPrintable(QString("%1 - %2").arg(recorded.frames).arg(seen)));

    const QString status = Status();
    const auto match =
        QRegularExpression(
            QStringLiteral("^(\\d+) frames \\(0 dropped\\) - (\\d+\\.\\d\\d) sec\\.$"))
            .match(status);
    qInfo("status \"%s\", file: %d frames (%d when the three seconds began), %.2f s",
          qPrintable(status), recorded.frames, int(seen), recorded.seconds);
    QVERIFY2(match.hasMatch(), qPrintable(status));
    QVERIFY2(vxtest::Near(match.captured(1).toInt(), recorded.frames, 0.05), qPrintable(status));
    QVERIFY2(vxtest::Near(match.captured(2).toDouble(), recorded.seconds, 0.05),
             qPrintable(status));

    // The line keeps its text; the preview goes on without a file.
    QTest::qWait(1200);
    QCOMPARE(Status(), status);
    const auto painted = window_->surface()->PaintedFrames();
    QTRY_VERIFY_WITH_TIMEOUT(window_->surface()->PaintedFrames() > painted + 5, 20000);
    QCOMPARE(vxtest::ChildProcesses(), 1);
}

void CaptureWindowTest::startOrPreviewWhileRecordingStopsIt() {
    Open();
    for (const char* button : {"Command1", "Command3"}) {
        const QString file = QString::fromStdString(app_ + "/" + button + ".avi");
        Record(file);
        QTest::qWait(500);
        // Disabled while recording, as the window has them; the handlers still stop.
        Button(button)->setEnabled(true);
        Button(button)->click();
        QVERIFY2(!window_->control().Recording(), button);
        QVERIFY(Button("Command1")->isEnabled());
        QVERIFY(Button("Command3")->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(window_->control().Statistics().final, 10000);
        QVERIFY2(vxtest::ProbeRecording(file.toStdString()).ok, button);
    }
}

// A recording that cannot be written is refused or ends, with a message that
// names the file and the reason; the buttons are free again and the surface
// never keeps a picture as if it were live. A device that cannot be read
// stands for a busy camera.
void CaptureWindowTest::aFailedRecordingFreesTheButtons() {
    Open({TestPatternSource(), {"Busy", {"-f", "lavfi", "-i", "nosuchsource"}, {}}});
    Button("Command3")->click();
    QTRY_VERIFY_WITH_TIMEOUT(window_->surface()->PaintedFrames() > 0, 20000);
    auto* text1 = Find<QLineEdit>("Text1");
    auto message = [&] {
        return desktop_.messages.empty() ? QString() : desktop_.messages.back().second;
    };

    // No name, and a relative name in a folder that is not there (taken in
    // the videos folder, here the home): refused at once; the preview goes on.
    text1->setText(QStringLiteral(" "));
    Button("Command1")->click();
    QCOMPARE(message(), QStringLiteral("Enter the name of the file to record into."));
    text1->setText(QStringLiteral("missing folder/x.avi"));
    Button("Command1")->click();
    const QString missing = QString::fromStdString(app_ + "/missing folder/x.avi");
    QCOMPARE(text1->text(), missing);
    QCOMPARE(message(), "Could not record into \"" + missing + "\": No such file or directory.");
    QVERIFY(Button("Command1")->isEnabled());
    const auto painted = window_->surface()->PaintedFrames();
    QTRY_VERIFY_WITH_TIMEOUT(window_->surface()->PaintedFrames() > painted + 5, 20000);

    // The device fails: its preview goes black, and its recording ends by itself.
    auto* combo = Find<QComboBox>("Combo1");
    combo->setCurrentIndex(1);
    emit combo->activated(1);
    QTRY_COMPARE_WITH_TIMEOUT(LitShare(), 0.0, 10000);
    const QString file = QString::fromStdString(app_ + "/busy.avi");
    text1->setText(file);
    Button("Command1")->click();
    QVERIFY(!Button("Command1")->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(Button("Command1")->isEnabled(), 15000);
    QVERIFY(Button("Command3")->isEnabled());
    QCOMPARE(desktop_.messages.size(), std::size_t(3));
    QCOMPARE(desktop_.messages.back().first, MessageIcon::Critical);
    // The reason is the encoder's own wording, which its versions change.
    const QString named = "Could not record into \"" + file + "\": ";
    QVERIFY2(message().startsWith(named) && message().endsWith(u'.') &&
                 message().size() > named.size() + 1 && !message().contains(u'\n'),
             qPrintable(message()));
    QVERIFY(!fs::exists(file.toStdString())); // the empty file it had reserved is gone
    QCOMPARE(LitShare(), 0.0);
}

// Camera footage cannot be made again: a second recording under the default
// name goes into the next free name, which the box then shows.
void CaptureWindowTest::recordingTwiceUnderOneNameKeepsBoth() {
    Open();
    const QString first = QString::fromStdString(app_ + "/dvcapture.avi");
    QCOMPARE(Find<QLineEdit>("Text1")->text(), first);
    for (const char* name : {"/dvcapture.avi", "/dvcapture-2.avi"}) {
        Button("Command1")->click();
        QCOMPARE(Find<QLineEdit>("Text1")->text(), QString::fromStdString(app_ + name));
        QTRY_VERIFY_WITH_TIMEOUT(window_->control().Statistics().frames > 25, 20000);
        Button("Command2")->click();
        QTRY_VERIFY_WITH_TIMEOUT(window_->control().Statistics().final, 10000);
    }
    QVERIFY(vxtest::ProbeRecording(first.toStdString()).ok);
    QVERIFY(vxtest::ProbeRecording(app_ + "/dvcapture-2.avi").ok);
    QVERIFY(desktop_.messages.empty());
}

void CaptureWindowTest::exitWhileRecordingLeavesAFinishedFile() {
    Open();
    const QString file = QString::fromStdString(app_ + "/exit.avi");
    Record(file);
    QTest::qWait(1000);
    Button("Command4")->click();
    QVERIFY(!window_->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(vxtest::ChildProcesses(), 0, 15000);
    const vxtest::Recording recorded = vxtest::ProbeRecording(file.toStdString());
    QVERIFY(recorded.ok);
    QVERIFY2(recorded.frames >= 20, qPrintable(QString::number(recorded.frames)));
}

void CaptureWindowTest::closeBoxAndEscapeEndTheEncoder() {
    for (bool escape : {false, true}) {
        Open();
        Button("Command3")->click();
        QTRY_COMPARE_WITH_TIMEOUT(vxtest::ChildProcesses(), 1, 10000);
        if (escape)
            QTest::keyClick(window_.get(), Qt::Key_Escape);
        else
            window_->close();
        QVERIFY(!window_->isVisible());
        QTRY_COMPARE_WITH_TIMEOUT(vxtest::ChildProcesses(), 0, 10000);
    }
}

void CaptureWindowTest::mainWindowCommandsOpenItModally() {
    MainWindow main(app_, desktop_);
    main.show();
    for (const char* command : {"Capture", "Capture1"}) {
        QString opened;
        QTimer::singleShot(200, this, [&] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                opened = modal->objectName() + " " + modal->windowTitle();
                modal->close();
            }
        });
        QVERIFY2(main.action(command)->isEnabled(), command);
        main.action(command)->trigger(); // returns once the window is closed
        QCOMPARE(opened, QStringLiteral("Form3 Capture Video From DV"));
    }
}

QTEST_MAIN(CaptureWindowTest)
#include "CaptureWindowTest.moc"
