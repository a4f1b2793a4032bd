#pragma once

#include <QEvent>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <vector>

namespace pelorin {

/// One button of the menu strip: its rectangle in the strip's pixels, the command
/// it posts and its state.
struct StripButton {
    int32_t top = 0;
    int32_t left = 0;
    int32_t bottom = 0;
    int32_t right = 0;
    uint32_t commandId = 0;
    bool hover = false;  ///< the pointer is over it; only an enabled button is
    bool enabled = true; ///< a disabled button is greyed and ignores the pointer

    /// The hit rule: left < x <= right and top < y <= bottom, so each shared edge
    /// belongs to exactly one button (the left and top ones to the button before).
    bool Contains(int x, int y) const { return left < x && x <= right && top < y && y <= bottom; }
};

/// What the strip posts to its parent when a button is pressed.
class StripCommandEvent final : public QEvent {
public:
    explicit StripCommandEvent(uint32_t commandId) : QEvent(Type()), commandId_(commandId) {}

    static QEvent::Type Type();
    uint32_t CommandId() const { return commandId_; }

private:
    uint32_t commandId_;
};

/// The strip of image buttons across the top of the main window.
///
/// It draws itself from three pictures (normal, hover, disabled), highlights the
/// enabled button under the pointer and turns a left press on an enabled button
/// into a StripCommandEvent posted to its parent: the command runs once the press
/// has been handled, never inside it. It knows nothing of the commands; the parent
/// adds the buttons and keeps their enabled flags.
class MenuDisplayType final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kMaxButtons = 20;

    explicit MenuDisplayType(QWidget* parent);

    /// Takes the three strip pictures; when any is missing the strip is a plain
    /// grey bar whose buttons still work.
    void LoadStripBitmaps();
    /// The same with pictures of the caller's: a null one drops all three.
    void SetStripBitmaps(const QImage& normal, const QImage& hover, const QImage& disabled);
    bool HasBitmaps() const { return !normal_.isNull(); }

    /// Appends a button (at most kMaxButtons); false when the strip is full.
    bool AddStripButton(const QRect& rect, uint32_t commandId, bool enabled);
    void SetButtonEnabled(int index, bool enabled);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    const StripButton& Button(int index) const { return buttons_[static_cast<size_t>(index)]; }

    /// Highlights the enabled button under a point and unhighlights the others; a
    /// disabled button under the point keeps its flag.
    void UpdateHover(int x, int y);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void ClearHover();

    QImage normal_;
    QImage hover_;
    QImage disabled_;
    bool ownPictures_ = false; ///< the strip's own pictures, drawn for its screen
    std::vector<StripButton> buttons_;
};

} // namespace pelorin
