#include "ui/StartDialog.h"

#include "app/AppData.h"
#include "app/TextConvert.h"
#include "foundation/StartupClock.h"
#include "ui/DialogUnits.h"
#include "ui/Pictures.h"

#include <QLabel>
#include <QTimer>

namespace pelorin {

namespace {
constexpr QSize kSize = DialogSize(207, 91);
constexpr QRect kLogo = DialogRect(3, 5, 197, 63);
constexpr QRect kStatusLine = DialogRect(4, 73, 198, 15);
// The load starts as soon as the splash has been drawn, so that it shows while the
// load holds the thread; at the latest this long after the splash opens.
constexpr int kLoadDelayMs = 50;
} // namespace

StartDialog::StartDialog(AppData& app)
    : QDialog(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), app_(app), statusLine_(new QLabel(this))
{
    setObjectName(QStringLiteral("StartDialog"));
    setWindowIcon(AppIcon());
    setFixedSize(kSize);
    // No caption, a thin border.
    auto* border = new QFrame(this);
    border->setGeometry(rect());
    border->setFrameStyle(QFrame::Box | QFrame::Plain);
    AddLogo(this, kLogo);
    statusLine_->setObjectName(QStringLiteral("StatusLine"));
    statusLine_->setGeometry(kStatusLine);
    statusLine_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    app_.splash = this;
    QTimer::singleShot(kLoadDelayMs, this, &StartDialog::Tick);
}

StartDialog::~StartDialog()
{
    if (app_.splash == this)
        app_.splash = nullptr;
}

void StartDialog::ShowStatusText(std::string_view text)
{
    statusLine_->setText(ToWide(text));
    // The load holds the thread: paint now, not when the loop comes round.
    statusLine_->repaint();
}

void StartDialog::done(int result)
{
    app_.splash = nullptr;
    QDialog::done(result);
}

void StartDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    // Once this paint is on the screen, the loop comes round to the load.
    if (!loadStarted_)
        QTimer::singleShot(0, this, &StartDialog::Tick);
}

void StartDialog::Tick()
{
    if (loadStarted_)
        return;
    loadStarted_ = true;
    startup_clock::Mark("load begins");
    app_.LoadAtStartup();
    QMetaObject::invokeMethod(this, &QDialog::accept, Qt::QueuedConnection);
}

} // namespace pelorin
