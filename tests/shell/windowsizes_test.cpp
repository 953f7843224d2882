// Every window fits the smallest screens modders use, 1366x768 at 100% and 1920x1080 at 150%
// scaling (1280x720 logical pixels), with a panel along one edge and its own title bar: where a
// window is taller than that, its content scrolls and OK / Cancel stay in view.
#include <QAction>
#include <QLayout>
#include <QPointer>
#include <QPushButton>

#include "guitestsupport.h"
#include "sheetbuttons.h"
#include "windowfit.h"

namespace {

constexpr int kPanel = 40;
const QMargins kDecorations(4, 30, 4, 4);

class WindowSizesTest : public GuiTest {
protected:
    // The smallest size the window manager may give the window, title bar and borders included.
    static QSize LeastFrame(QWidget& window, const QRect& screen) {
        windowfit::FitHeight(window, screen, kDecorations);
        if (window.layout()) window.layout()->activate();
        return window.minimumSize().grownBy(kDecorations);
    }

    void ExpectFits(QWidget& window, const QRect& screen) {
        const QSize least = LeastFrame(window, screen);
        EXPECT_LE(least.width(), screen.width()) << window.objectName().toStdString();
        EXPECT_LE(least.height(), screen.height()) << window.objectName().toStdString();
        // OK stays in view: it lies inside the window, not in a part that scrolls.
        if (auto* ok = window.findChild<QPushButton*>("cmdOK")) {
            EXPECT_EQ(ok->window(), &window);
        }
    }
};

TEST_F(WindowSizesTest, EveryWindowFitsTheSmallestScreen) {
    const QRect smallest(QPoint(0, 0), windowfit::kSmallestScreen - QSize(0, kPanel));
    prompter.openReplies << ExamplesDir() + "/tvk_scout.ship";
    StartMain();
    main->OpenDocument();
    ASSERT_TRUE(main->ShipFile);
    ExpectFits(*main, smallest);

    auto check = [&](const std::function<void()>& open) {
        open();
        QPointer<QDialog> window = main->OpenSheet();
        ASSERT_TRUE(window);
        ExpectFits(*window, smallest);
        window->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    for (const SheetButton& row : SheetButtons()) {
        SCOPED_TRACE(row.objectName);
        check([&] { main->findChild<QPushButton*>(row.objectName)->click(); });
    }
    for (const char* action : {"DecompiledData", "Preferences", "About", "OtherEntries"}) {
        SCOPED_TRACE(action);
        check([&] { main->findChild<QAction*>(action)->trigger(); });
    }
}

}  // namespace
