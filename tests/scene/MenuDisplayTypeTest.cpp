#include "scene/MenuDisplayType.h"
#include "scene/StripPictures.h"

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include <vector>

namespace pelorin {

namespace {

// A parent that records the commands the strip posts to it.
struct CommandRecorder final : QWidget {
    bool event(QEvent* event) override
    {
        if (event->type() != StripCommandEvent::Type())
            return QWidget::event(event);
        commands.push_back(static_cast<StripCommandEvent*>(event)->CommandId());
        return true;
    }
    std::vector<uint32_t> commands;
};

constexpr uint32_t kFirstCommand = 100;
constexpr int kReset = 5; // the button made disabled

} // namespace

class MenuDisplayTypeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        parent_ = std::make_unique<CommandRecorder>();
        strip_ = new MenuDisplayType(parent_.get());
        strip_->setGeometry(4, 2, kStripWidth, kStripHeight);
        strip_->LoadStripBitmaps();
        for (int i = 0; i < kStripButtonCount; ++i)
            strip_->AddStripButton(QRect(i * kStripButtonWidth, 0, kStripButtonWidth, kStripHeight),
                                   kFirstCommand + i, i != kReset);
        parent_->show();
    }
    void cleanup() { parent_.reset(); }

    // A move lights the button under the pointer and a press posts its command (it runs after the press was
    // handled). Left and top edges belong to the button before, right and bottom ones to this; a disabled button
    // neither lights up nor commands. Leaving the strip or losing the focus puts the light out.
    void pointerFindsTheButtonHit()
    {
        const std::pair<QPoint, int> cases[] = {{{40, 10}, 0}, {{600, 10}, -1}, {{80, 10}, 0}, {{81, 10}, 1},
                                                {{40, 23}, 0}, {{40, 0}, -1},   {{0, 10}, -1},  {{440, 10}, -1}};
        for (const auto& [point, button] : cases) {
            Move(point.x(), point.y());
            QCOMPARE(Hovered(), button < 0 ? std::vector<int>{} : std::vector<int>{button});
            parent_->commands.clear();
            QTest::mousePress(strip_, Qt::LeftButton, {}, point);
            QVERIFY(parent_->commands.empty());
            QCoreApplication::processEvents();
            QCOMPARE(parent_->commands, button < 0 ? std::vector<uint32_t>{} : std::vector<uint32_t>{kFirstCommand + button});
        }
        for (const QEvent::Type out : {QEvent::Leave, QEvent::FocusOut}) {
            Move(120, 10);
            QCOMPARE(Hovered(), std::vector<int>{1});
            QFocusEvent event(out);
            QApplication::sendEvent(strip_, &event);
            QCOMPARE(Hovered(), std::vector<int>{});
        }
    }
    void missingPicturesLeaveAGreyBar()
    {
        strip_->SetStripBitmaps(StripPicture(StripLook::Normal), QImage(), StripPicture(StripLook::Disabled));
        QCOMPARE(strip_->grab().toImage().pixelColor(40, 10), QColor(128, 128, 128));
    }
    // Each look differs from the normal one only on the buttons, never on the empty
    // stretch, and comes in the screen's density; the strip shows the disabled look where a button is disabled.
    void picturesShowTheButtonsAndTheirLooks()
    {
        const QImage& normal = StripPicture(StripLook::Normal);
        // On a dense screen each picture has as many more pixels, drawn at that size
        // rather than scaled up, so that the labels stay sharp.
        for (const StripLook look : {StripLook::Normal, StripLook::Hover, StripLook::Disabled}) {
            for (const qreal ratio : {1.0, 1.5, 2.0}) {
                const QImage dense = StripPicture(look, ratio);
                QCOMPARE(dense.deviceIndependentSize(), QSizeF(kStripWidth, kStripHeight));
                QCOMPARE(dense.size(), (QSizeF(kStripWidth, kStripHeight) * ratio).toSize());
            }
        }
        QVERIFY(StripPicture(StripLook::Normal, 2).convertToFormat(QImage::Format_RGB888) !=
                normal.scaled(normal.size() * 2).convertToFormat(QImage::Format_RGB888));
        const int stretch = kStripButtonCount * kStripButtonWidth + 10;
        for (const StripLook look : {StripLook::Hover, StripLook::Disabled}) {
            const QImage& other = StripPicture(look);
            QVERIFY(other.copy(0, 0, kStripButtonWidth, kStripHeight) != normal.copy(0, 0, kStripButtonWidth, kStripHeight));
            QCOMPARE(other.pixelColor(stretch, 10), normal.pixelColor(stretch, 10));
        }
        // The strip shows the pictures of its screen's density (the test runs at 1 and 2).
        const qreal ratio = strip_->devicePixelRatioF();
        const QImage shown = strip_->grab().toImage();
        const auto part = [&](const QImage& image, const QRect& rect) {
            return image.copy(QRectF(QPointF(rect.topLeft()) * ratio, QSizeF(rect.size()) * ratio).toRect())
                .convertToFormat(QImage::Format_RGB888);
        };
        const QRect reset(kReset * kStripButtonWidth, 0, kStripButtonWidth, kStripHeight);
        QCOMPARE(part(shown, reset), part(StripPicture(StripLook::Disabled, ratio), reset));
        const QRect first(0, 0, kStripButtonWidth, kStripHeight);
        QCOMPARE(part(shown, first), part(StripPicture(StripLook::Normal, ratio), first));
    }

private:
    void Move(int x, int y)
    {
        QMouseEvent move(QEvent::MouseMove, QPointF(x, y), strip_->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(strip_, &move);
    }
    std::vector<int> Hovered() const
    {
        std::vector<int> hovered;
        for (int i = 0; i < strip_->ButtonCount(); ++i)
            if (strip_->Button(i).hover)
                hovered.push_back(i);
        return hovered;
    }

    std::unique_ptr<CommandRecorder> parent_;
    MenuDisplayType* strip_ = nullptr;
};

} // namespace pelorin

QTEST_MAIN(pelorin::MenuDisplayTypeTest)
#include "MenuDisplayTypeTest.moc"
