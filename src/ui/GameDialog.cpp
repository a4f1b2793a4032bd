#include "ui/GameDialog.h"

#include "app/AppData.h"
#include "app/TextConvert.h"
#include "foundation/TextUtil.h"
#include "ui/DialogUnits.h"
#include "ui/Pictures.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>

#include <system_error>

namespace pelorin {

namespace {

constexpr QSize kSize = DialogSize(234, 153);
constexpr QRect kOk = DialogRect(121, 132, 50, 14);
constexpr QRect kCancel = DialogRect(177, 132, 50, 14);
// Labels are wider than their text needs, so that they fit whatever the font.
constexpr QRect kPatternLabel = DialogRect(11, 11, 100, 10);
constexpr std::array<QRect, kOfferedPatterns> kPictures = {
    DialogRect(12, 27, 64, 57),
    DialogRect(86, 27, 63, 57),
    DialogRect(158, 27, 65, 57),
};
constexpr std::array<QRect, kOfferedPatterns> kFrames = {
    DialogRect(10, 25, 69, 60),
    DialogRect(83, 25, 69, 60),
    DialogRect(156, 25, 69, 60),
};
constexpr QRect kStyleLabel = DialogRect(14, 96, 50, 10);
constexpr QRect kStyles = DialogRect(68, 94, 96, 12);
// Two lines high, down to the buttons: the reason a cache cannot be written may
// be long.
constexpr QRect kWaitText = DialogRect(16, 108, 199, 22);

const QString kWaiting = QStringLiteral("Processing, please wait ...");
const QString kCannotFill = QStringLiteral("This style cannot fill this block pattern.");

} // namespace

GameDialog::GameDialog(AppData& app, QWidget* parent)
    : QDialog(parent), app_(app), styles_(new QComboBox(this)), waitText_(new QLabel(this)),
      ok_(new QPushButton(QStringLiteral("OK"), this)), chosenPattern_(app.lastBlockId)
{
    setWindowTitle(QStringLiteral("New Game"));
    setFixedSize(kSize);

    auto* patternLabel = new QLabel(QStringLiteral("Block Pattern :"), this);
    patternLabel->setGeometry(kPatternLabel);
    for (int32_t k = 0; k < kOfferedPatterns; ++k) {
        QFrame* frame = new QFrame(this);
        frame->setGeometry(kFrames[static_cast<size_t>(k)]);
        frame->setFrameStyle(QFrame::Box | QFrame::Plain);
        frame->setLineWidth(2);
        frames_[static_cast<size_t>(k)] = frame;
        QLabel* picture = new QLabel(this);
        picture->setGeometry(kPictures[static_cast<size_t>(k)]);
        picture->setPixmap(QPixmap::fromImage(PatternPicture(k)));
        picture->setObjectName(QStringLiteral("Pattern%1").arg(k));
        picture->setCursor(Qt::PointingHandCursor);
        picture->installEventFilter(this);
        pictures_[static_cast<size_t>(k)] = picture;
    }
    ShowFrame();

    auto* styleLabel = new QLabel(QStringLiteral("Style :"), this);
    styleLabel->setGeometry(kStyleLabel);
    styles_->setGeometry(kStyles);
    styles_->setObjectName(QStringLiteral("Styles"));
    for (const Style* style : app_.Styles())
        styles_->addItem(ToWide(TextOf(style->Description())));
    // A remembered style beyond the list (styles were deleted) selects nothing.
    const bool listed = app_.lastStyleId >= 0 && app_.lastStyleId < styles_->count();
    styles_->setCurrentIndex(listed ? app_.lastStyleId : -1);
    connect(styles_, &QComboBox::currentIndexChanged, this, [this](int index) { app_.lastStyleId = index; });

    waitText_->setGeometry(kWaitText);
    waitText_->setObjectName(QStringLiteral("WaitText"));
    waitText_->setWordWrap(true);
    waitText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ok_->setGeometry(kOk);
    ok_->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setGeometry(kCancel);
    connect(ok_, &QPushButton::clicked, this, &GameDialog::StartWaiting);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    timer_.setInterval(kCheckIntervalMs);
    connect(&timer_, &QTimer::timeout, this, &GameDialog::Tick);
    // The timer stops with the dialog, whichever way it ends.
    connect(this, &QDialog::finished, &timer_, &QTimer::stop);
}

bool GameDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int32_t k = 0; k < kOfferedPatterns; ++k) {
            if (watched == pictures_[static_cast<size_t>(k)]) {
                ChoosePattern(k);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void GameDialog::ChoosePattern(int32_t patternId)
{
    chosenPattern_ = patternId;
    app_.lastBlockId = patternId;
    ShowFrame();
}

void GameDialog::ShowFrame()
{
    // A remembered pattern that New Game does not offer shows no frame.
    for (int32_t k = 0; k < kOfferedPatterns; ++k)
        frames_[static_cast<size_t>(k)]->setVisible(k == chosenPattern_);
}

void GameDialog::StartWaiting()
{
    // Without a style or a pattern there is nothing to wait for.
    if (!app_.Styles().At(styles_->currentIndex()) || !app_.LastBlockOffered())
        return;
    waitText_->clear();
    timer_.start();
}

void GameDialog::Tick()
{
    const int32_t index = styles_->currentIndex();
    const Style* style = app_.Styles().At(index);
    if (!style)
        return;
    if (CachedGameExists(StripExtension(style->FileName()), app_.CacheFolder(), chosenPattern_) &&
        app_.TakeCachedGame(index, chosenPattern_)) {
        timer_.stop();
        app_.gameInPlay = true;
        accept();
        return;
    }
    // A file that did not read was removed; its worker makes a sound one.
    if (!app_.KeepPreparing(index, chosenPattern_)) {
        timer_.stop();
        ok_->setEnabled(true);
        const int error = app_.SaveError(*style, chosenPattern_);
        waitText_->setText(error == 0 ? kCannotFill
                                      : QStringLiteral("Cannot save games in the cache folder: %1.")
                                            .arg(QString::fromStdString(std::generic_category().message(error))));
        return;
    }
    ok_->setEnabled(false);
    waitText_->setText(kWaiting);
}

} // namespace pelorin
