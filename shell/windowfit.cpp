#include "windowfit.h"

#include <QBoxLayout>
#include <QFontMetrics>
#include <QLayout>
#include <QScrollBar>

#include <algorithm>

namespace windowfit {

namespace {

// A body shows at least this many lines however small the screen.
constexpr int kMinimumBodyLines = 6;

}  // namespace

ScrollBody::ScrollBody(QWidget* content, QWidget* parent) : QScrollArea(parent) {
    setObjectName("ScrollBody");
    setWidget(content);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Tab goes from box to box; the area scrolls to the box that takes the focus.
    setFocusPolicy(Qt::NoFocus);
    // The content keeps its own background (the window's), not the scroll area's base colour.
    content->setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
}

QSize ScrollBody::ContentHint() const {
    const QWidget* content = widget();
    if (!content) return {};
    QSize hint = content->sizeHint().expandedTo(content->minimumSizeHint());
    const QMargins m = contentsMargins();
    return hint + QSize(m.left() + m.right(), m.top() + m.bottom());
}

QSize ScrollBody::sizeHint() const {
    QSize hint = ContentHint();
    if (maxBodyHeight_ > 0 && hint.height() > maxBodyHeight_) {
        hint.setHeight(maxBodyHeight_);
        // Room for the scroll bar beside the content, so that nothing is cut off at the right.
        hint.rwidth() += verticalScrollBar()->sizeHint().width();
    }
    return hint;
}

QSize ScrollBody::minimumSizeHint() const { return sizeHint(); }

void ScrollBody::SetMaximumBodyHeight(int height) {
    maxBodyHeight_ = std::max(0, height);
    updateGeometry();
}

bool FitHeight(QWidget& window, const QRect& available, const QMargins& decorations) {
    const auto bodies = window.findChildren<ScrollBody*>();
    auto frameHeight = [&] {
        if (QLayout* layout = window.layout()) layout->activate();
        const QSize hint = window.sizeHint().expandedTo(window.minimumSizeHint());
        return hint.height() + decorations.top() + decorations.bottom();
    };
    for (ScrollBody* body : bodies) body->SetMaximumBodyHeight(0);
    int excess = frameHeight() - available.height();
    for (ScrollBody* body : bodies) {
        if (excess <= 0) break;
        const int full = body->sizeHint().height();
        const int least = body->fontMetrics().lineSpacing() * kMinimumBodyLines;
        const int height = std::max(least, full - excess);
        if (height >= full) continue;
        body->SetMaximumBodyHeight(height);
        excess = frameHeight() - available.height();
    }
    return excess <= 0;
}

void MakeFixedSize(QWidget& window) {
    if (QLayout* layout = window.layout()) {
        // A fixed window is never narrower than its caption needs (the title bar's font is often
        // bold; its icon and buttons take about ten lines' height), so the title is not elided.
        if (auto* box = qobject_cast<QBoxLayout*>(layout);
            box && (box->direction() == QBoxLayout::TopToBottom ||
                    box->direction() == QBoxLayout::BottomToTop)) {
            QFont titleFont = window.font();
            titleFont.setBold(true);
            const QFontMetrics fm(titleFont);
            box->addStrut(fm.horizontalAdvance(window.windowTitle()) + fm.height() * 10);
        }
        layout->setSizeConstraint(QLayout::SetFixedSize);
        layout->activate();
    }
    window.setFixedSize(window.sizeHint());
    // Naming the buttons the window has (CustomizeWindowHint) is what makes the window manager
    // leave out the maximise button; without it the manager's defaults apply.
    Qt::WindowFlags flags = window.windowFlags() | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                            Qt::MSWindowsFixedSizeDialogHint;
    if (window.windowType() == Qt::Window) flags |= Qt::WindowMinimizeButtonHint;
    flags &= ~Qt::WindowMaximizeButtonHint;
    window.setWindowFlags(flags);
}

}  // namespace windowfit
