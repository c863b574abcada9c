#include "logging/ui/ExtDataLoggingDlg.h"

#include "link/ControllerLink.h"
#include "pages/SerialGuard.h"
#include "pages/ui/UiContext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>
#include <iterator>

namespace halcyra {

namespace {

using Clock = CExternalLog::Clock;
using namespace std::chrono_literals;

// How often the logging time on screen moves on.
constexpr auto kClockPeriod = 250ms;
// How long the port's watch rests after a wake with nothing to read (the
// other end hung up), so a dead line costs no processor time.
constexpr auto kHangUpRest = 200ms;

// Repaints only what changed.
void ShowNumber(QLineEdit* field, std::uint64_t n)
{
    const QString text = QString::number(n);
    if (field->text() != text)
        field->setText(text);
}

} // namespace

CExtDataLoggingDlg::CExtDataLoggingDlg(CUiContext& context, CExternalLog& log, QWidget* parent)
    : CHCDialog(context, parent), log_(log)
{
    setWindowTitle(QStringLiteral("External Data Logging"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 10, 12, 12);
    layout->setSpacing(10);

    auto field = [this](const char* name, int minimumWidth) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setReadOnly(true);
        edit->setMinimumWidth(minimumWidth);
        return edit;
    };
    auto* grid = new QGridLayout;
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(6);
    configuration_ = field("configuration1007", 360);
    configuration_->setText(QString::fromStdString(log_.Plan().configurationPath));
    logFile_ = field("logFile1005", 360);
    logFile_->setText(QString::fromStdString(log_.LogPath()));
    grid->addWidget(new QLabel(QStringLiteral("Configuration File:"), this), 0, 0);
    grid->addWidget(configuration_, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Log File:"), this), 1, 0);
    grid->addWidget(logFile_, 1, 1, 1, 3);

    rate_ = new QComboBox(this);
    rate_->setObjectName(QStringLiteral("rate1155"));
    for (const char* rate : kLoggingRates)
        rate_->addItem(QString::fromLatin1(rate));
    const std::uint32_t rateIndex = log_.Plan().rateIndex;
    rate_->setCurrentIndex(rateIndex < std::size(kLoggingRates) ? static_cast<int>(rateIndex) : -1);
    rate_->setEnabled(false);
    grid->addWidget(new QLabel(QStringLiteral("Logging Rate"), this), 2, 0);
    grid->addWidget(rate_, 2, 1);

    saved_ = field("recordsSaved1006", 90);
    dropped_ = field("recordsDropped", 90);
    time_ = field("loggingTime1035", 90);
    grid->addWidget(new QLabel(QStringLiteral("Records Saved"), this), 3, 0);
    grid->addWidget(saved_, 3, 1);
    grid->addWidget(new QLabel(QStringLiteral("Records Dropped"), this), 3, 2);
    grid->addWidget(dropped_, 3, 3);
    grid->addWidget(new QLabel(QStringLiteral("Logging Time (sec)"), this), 4, 0);
    grid->addWidget(time_, 4, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    start_ = new QPushButton(QStringLiteral("&Start"), this);
    start_->setObjectName(QStringLiteral("start1022"));
    stop_ = new QPushButton(QStringLiteral("S&top"), this);
    stop_->setObjectName(QStringLiteral("stop1023"));
    done_ = new QPushButton(QStringLiteral("&Done"), this);
    done_->setObjectName(QStringLiteral("done"));
    buttons->addStretch(1);
    for (QPushButton* button : {start_, stop_, done_}) {
        button->setAutoDefault(false);
        buttons->addWidget(button);
    }
    layout->addLayout(buttons);

    // Opening: Done and Start, not Stop; nothing counted yet.
    stop_->setEnabled(false);
    ShowCounters();

    const int descriptor = context.link.Port().Descriptor();
    if (descriptor >= 0) {
        portWatch_ = new QSocketNotifier(static_cast<qintptr>(descriptor), QSocketNotifier::Read, this);
        portWatch_->setEnabled(false);
        connect(portWatch_, &QSocketNotifier::activated, this, [this] { TakeRecords(true); });
    }
    resume_ = new QTimer(this);
    resume_->setSingleShot(true);
    connect(resume_, &QTimer::timeout, this, [this] { TakeRecords(); });
    deadline_ = new QTimer(this);
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, [this] {
        if (taking_)
            return; // the read under way arms it again
        log_.Expire(Clock::now());
        ShowCounters();
        ArmDeadline();
    });
    clock_ = new QTimer(this);
    connect(clock_, &QTimer::timeout, this, [this] {
        // A port without a descriptor to watch is read here instead.
        if (!portWatch_)
            TakeRecords();
        ShowCounters();
    });

    OnClicked(start_, [this] { OnStart(); });
    OnClicked(stop_, [this] { OnStop(); });
    OnClicked(done_, [this] { OnDone(); });
}

CExtDataLoggingDlg::~CExtDataLoggingDlg() { WatchPort(false); }

void CExtDataLoggingDlg::WatchPort(bool watch)
{
    if (portWatch_)
        portWatch_->setEnabled(watch);
    if (watch) {
        clock_->start(kClockPeriod);
    } else {
        clock_->stop();
        deadline_->stop();
        resume_->stop();
    }
}

void CExtDataLoggingDlg::OnStart()
{
    done_->setEnabled(false);
    stop_->setEnabled(true);
    start_->setEnabled(false);
    log_.Start(Clock::now());
    WatchPort(true);
    ShowCounters();
}

void CExtDataLoggingDlg::OnStop()
{
    done_->setEnabled(true);
    stop_->setEnabled(false);
    WatchPort(false);
    log_.Stop();
    ShowCounters();
}

void CExtDataLoggingDlg::OnDone()
{
    WatchPort(false);
    log_.Done();
    accept();
}

void CExtDataLoggingDlg::reject()
{
    if (done_->isEnabled())
        OnDone();
}

void CExtDataLoggingDlg::TakeRecords(bool portReadable)
{
    // A box shown meanwhile (a file that cannot be written) runs its own
    // event loop: nothing in it reads the port again, and the watch rests so
    // that bytes waiting do not wake it over and over.
    if (taking_ || portFailed_ || !log_.Streaming())
        return;
    taking_ = true;
    if (portWatch_)
        portWatch_->setEnabled(false);
    bool hungUp = false;
    const bool read = RunGuarded(Context().notifier, [&] {
        // Readable with nothing to read: the other end hung up.
        hungUp = portReadable && Context().link.Port().BytesWaiting() == 0;
        if (!hungUp)
            log_.TakeWaitingFrames(Clock::now());
    });
    taking_ = false;
    if (!read) {
        // The port failed and said so; nothing more comes from it.
        portFailed_ = true;
        WatchPort(false);
        return;
    }
    if (log_.Streaming() && portWatch_) {
        // A frame under way is read once the rest of it has had time to
        // arrive; a line whose other end hung up is looked at after a rest.
        if (hungUp)
            resume_->start(kHangUpRest);
        else if (log_.FrameUnderWay())
            resume_->start(CExternalLog::kFrameGather);
        else
            portWatch_->setEnabled(true);
    }
    ShowCounters();
    ArmDeadline();
}

void CExtDataLoggingDlg::ArmDeadline()
{
    const std::optional<Clock::time_point> due = log_.NextDeadline();
    if (!due) {
        deadline_->stop();
        return;
    }
    const auto wait = std::chrono::ceil<std::chrono::milliseconds>(*due - Clock::now());
    deadline_->start(std::max(wait, std::chrono::milliseconds(0)));
}

void CExtDataLoggingDlg::ShowCounters()
{
    ShowNumber(saved_, log_.RecordsSaved());
    ShowNumber(dropped_, log_.RecordsDropped());
    ShowNumber(time_, log_.ElapsedSeconds(Clock::now()));
}

} // namespace halcyra
