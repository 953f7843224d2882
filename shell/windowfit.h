// Sizes that fit the screens modders use: 1366x768 at 100% and 1920x1080 at 150% scaling, which is
// 1280x720 logical pixels. A window whose content is taller than its screen allows shows that
// content in a ScrollBody, so that its OK / Cancel row below stays in view.
#pragma once

#include <QMargins>
#include <QRect>
#include <QScrollArea>
#include <QSize>

namespace windowfit {

// The smallest screen, in logical pixels, that every window is made to fit.
inline constexpr QSize kSmallestScreen{1280, 720};

// A scroll area as large as its content while the screen allows, and no taller than the height
// it was given with SetMaximumBodyHeight beyond that. It never scrolls sideways.
class ScrollBody : public QScrollArea {
    Q_OBJECT
public:
    explicit ScrollBody(QWidget* content, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // 0: no limit.
    void SetMaximumBodyHeight(int height);

private:
    QSize ContentHint() const;
    int maxBodyHeight_ = 0;
};

// Limits every ScrollBody of `window` so that its frame, with the `decorations` round it, is no
// taller than `available`. Returns false when the window is still too tall (it has no scroll body
// or the body cannot shrink further).
bool FitHeight(QWidget& window, const QRect& available, const QMargins& decorations);

// Gives a window whose layout fixes its size that size now, before it is shown, and takes its
// maximise button away, so that the window manager knows it cannot be resized.
void MakeFixedSize(QWidget& window);

}  // namespace windowfit
