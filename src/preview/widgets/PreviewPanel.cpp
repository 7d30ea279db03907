#include "PreviewPanel.h"

#include "VideoSurface.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace vx {

namespace {

constexpr int kWatchInterval = 50; // ms
constexpr int kWatchTicks = 200;   // a player that says nothing for 10 s is left alone
constexpr int kPauseSettles = 300; // ms for the player to report where it paused

} // namespace

PreviewPanel::PreviewPanel(const std::string& appFolder, const QString& surfaceName,
                           const QString& sliderName, QWidget* parent)
    : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(4);
    surface_ = new VideoSurface(surfaceName, this);
    layout->addWidget(surface_, 1);

    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(sliderName);
    slider_->setRange(0, 100);
    slider_->setSingleStep(1);
    slider_->setPageStep(5);
    layout->addWidget(slider_);

    auto* buttons = new QWidget(this);
    BuildButtons(buttons);
    layout->addWidget(buttons);

    auto* labels = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Current Time:"), this);
    caption->setObjectName(QStringLiteral("SkinLabel11"));
    current_ = new QLabel(this);
    current_->setObjectName(QStringLiteral("LblCurTime"));
    // As wide as the longest time, so that an emptied label keeps its place and is repainted.
    current_->setMinimumWidth(current_->fontMetrics().horizontalAdvance(QStringLiteral("9:59:59")));
    total_ = new QLabel(this);
    total_->setObjectName(QStringLiteral("SkinLabel10"));
    labels->addWidget(caption);
    labels->addWidget(current_);
    labels->addStretch(1);
    labels->addWidget(total_);
    layout->addLayout(labels);

    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(1000);
    watch_ = new QTimer(this);
    watch_->setInterval(kWatchInterval);
    connect(watch_, &QTimer::timeout, this, &PreviewPanel::WatchPlayer);

    player_ = std::make_unique<ToolPlayerPort>(SharedToolControl(), appFolder,
                                               [this] { return surface_->Handle(); });
    transport_ = std::make_unique<PreviewTransport>(*player_, SharedPreviewCounters());
    connect(timer_, &QTimer::timeout, this, [this] { Do(&PreviewTransport::Tick); });
    connect(slider_, &QSlider::sliderReleased, this, [this] {
        transport_->SeekRelease(slider_->value());
        Render();
    });
    Render();
}

PreviewPanel::~PreviewPanel() = default;

void PreviewPanel::BuildButtons(QWidget* row) {
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);
    const struct {
        const char* name;
        const char* caption;
        void (PreviewPanel::*command)();
    } buttons[] = {
        {"cmdPlay", "Play", nullptr},
        {"cmdPause", "Pause", &PreviewPanel::Pause},
        {"cmdStop", "Stop", &PreviewPanel::Stop},
        {"cmdBack", "Back", &PreviewPanel::Back},
        {"cmdForward", "Forward", &PreviewPanel::Forward},
        {"Command4", "First Frame", &PreviewPanel::FirstFrame},
        {"Command5", "Last Frames", &PreviewPanel::LastFrames},
    };
    int column = 0;
    for (const auto& entry : buttons) {
        auto* button = new QPushButton(QString::fromLatin1(entry.caption), row);
        button->setObjectName(QLatin1String(entry.name));
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::TabFocus);
        if (entry.command)
            connect(button, &QPushButton::clicked, this,
                    [this, command = entry.command] { (this->*command)(); });
        else
            connect(button, &QPushButton::clicked, this, &PreviewPanel::playClicked);
        grid->addWidget(button, column / 4, column % 4); // two rows keep the panel narrow
        ++column;
    }
}

void PreviewPanel::Play(bool listEmpty, const std::optional<PlayItem>& item) {
    transport_->Play(listEmpty, item);
    Render();
}

void PreviewPanel::Pause() {
    Do(&PreviewTransport::Pause);
    QTimer::singleShot(kPauseSettles, this, &PreviewPanel::Refresh);
}

void PreviewPanel::Stop() {
    Do(&PreviewTransport::Stop);
    current_->repaint(); // the emptied position, on screen now
    surface_->ClearPicture();
    awaitingSize_ = false;
    clearing_ = true;
    StartWatch();
}

void PreviewPanel::StartWatch() {
    watchTicks_ = 0;
    watch_->start();
}

void PreviewPanel::WatchPlayer() {
    if (awaitingSize_) {
        if (const auto size = player_->ReportedPictureSize()) {
            surface_->SetPictureSize(QSize(size->width, size->height));
            awaitingSize_ = false;
        } else if (!player_->Running()) {
            awaitingSize_ = false;
        }
    }
    if (clearing_ && !player_->Running()) {
        surface_->ClearPicture(); // over the last frame it may have drawn after the key
        clearing_ = false;
    }
    if ((!awaitingSize_ && !clearing_) || ++watchTicks_ > kWatchTicks) watch_->stop();
}

void PreviewPanel::Do(void (PreviewTransport::*command)()) {
    (transport_.get()->*command)();
    Render();
}

// Shows the transport's view; the slider is left alone while the user holds it.
void PreviewPanel::Render() {
    const PreviewView& view = transport_->View();
    if (view.launches != launches_) { // a new player: learn its picture's proportions
        launches_ = view.launches;
        awaitingSize_ = true;
        clearing_ = false;
        StartWatch();
    }
    if (!slider_->isSliderDown()) slider_->setValue(view.slider);
    current_->setText(QString::fromStdString(view.currentTime));
    total_->setText(QString::fromStdString(view.totalLabel));
    if (view.timerOn && !timer_->isActive())
        timer_->start();
    else if (!view.timerOn)
        timer_->stop();
}

} // namespace vx
