// ShowSheet: the main window is disabled while a sheet is open, the sheet itself stays usable, sits
// with its top-left corner at the main window's top-right corner, and every way of closing it
// enables the main window again.
#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "guitestsupport.h"
#include "windowplacement.h"

namespace {

// A sheet with the usual kinds of children, created the way the real factories create theirs.
QDialog* MakeSampleSheet(frmFrontend& main) {
    auto* sheet = new QDialog(&main);
    sheet->setObjectName("sampleSheet");
    auto* layout = new QVBoxLayout(sheet);
    auto* text = new QLineEdit(sheet);
    text->setObjectName("txtSample");
    auto* ok = new QPushButton("OK", sheet);
    ok->setObjectName("cmdOK");
    layout->addWidget(text);
    layout->addWidget(ok);
    QObject::connect(ok, &QPushButton::clicked, sheet, &QDialog::accept);
    // Small enough to go beside the main window on the test screen (800 pixels wide).
    sheet->setFixedSize(150, 100);
    return sheet;
}

void ExpectUsable(QDialog* sheet) {
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(sheet->isEnabled());
    for (QWidget* child : sheet->findChildren<QWidget*>())
        EXPECT_TRUE(child->isEnabled()) << child->objectName().toStdString();
}

class ShowSheetTest : public GuiTest {
protected:
    QDialog* Open() {
        StartMain();
        main->move(120, 80);
        return main->ShowSheet([this] { return MakeSampleSheet(*main); });
    }
};

TEST_F(ShowSheetTest, DisablesMainWhileTheSheetAndItsControlsStayEnabled) {
    QDialog* sheet = Open();
    EXPECT_FALSE(main->isEnabled());
    ExpectUsable(sheet);
    EXPECT_EQ(main->OpenSheet(), sheet);

    // The sheet takes typing and clicks while the main window is disabled.
    auto* text = sheet->findChild<QLineEdit*>("txtSample");
    QTest::keyClicks(text, "12.5");
    EXPECT_EQ(text->text(), "12.5");
}

TEST_F(ShowSheetTest, PlacesTheSheetFrameAtTheMainWindowsTopRightCorner) {
    StartMain();
    main->move(placement::AvailableArea(*main).topLeft());
    QDialog* sheet = main->ShowSheet([this] { return MakeSampleSheet(*main); });
    const QRect frame = main->frameGeometry();
    EXPECT_EQ(sheet->frameGeometry().topLeft(), QPoint(frame.x() + frame.width(), frame.y()));
}

TEST_F(ShowSheetTest, ASheetBesideAMainWindowAtTheRightEdgeGoesToItsLeft) {
    StartMain();
    const QRect screen = placement::AvailableArea(*main);
    main->move(screen.right() + 1 - main->frameGeometry().width(), screen.top() + 20);
    QDialog* sheet = main->ShowSheet([this] { return MakeSampleSheet(*main); });
    const QRect frame = sheet->frameGeometry();
    EXPECT_TRUE(screen.contains(frame));
    EXPECT_EQ(frame.topRight(), main->frameGeometry().topLeft() - QPoint(1, 0));
}

TEST(SheetPosition, BesideTheMainWindowWhereverThereIsRoom) {
    const QRect screen(0, 0, 1366, 728);  // 1366x768 less a panel
    const QSize sheet(400, 500);
    using placement::SheetPosition;
    EXPECT_EQ(SheetPosition(QRect(0, 0, 500, 300), sheet, screen), QPoint(500, 0));
    // At the right edge: to the left of the main window, tops level.
    EXPECT_EQ(SheetPosition(QRect(900, 100, 466, 300), sheet, screen), QPoint(500, 100));
    // Room on neither side: as far right as the screen allows.
    EXPECT_EQ(SheetPosition(QRect(200, 0, 1000, 300), sheet, screen), QPoint(966, 0));
    // Up just enough to end on the screen; larger than the screen: its top-left on it.
    EXPECT_EQ(SheetPosition(QRect(0, 400, 500, 300), sheet, screen), QPoint(500, 228));
    EXPECT_EQ(SheetPosition(QRect(0, 400, 500, 300), QSize(2000, 900), screen), QPoint(0, 0));
    // A second screen left of the first, with a panel at its top.
    EXPECT_EQ(SheetPosition(QRect(-1000, 10, 500, 300), sheet, QRect(-1366, 32, 1366, 736)),
              QPoint(-500, 32));
}

TEST(MainWindowPosition, StartsAtTheLeftAndComesBackWhereItWasLeft) {
    const QList<QRect> screens{QRect(0, 32, 1366, 736), QRect(1366, 0, 1920, 1080)};
    const QSize frame(600, 300);
    using placement::MainWindowPosition;
    EXPECT_EQ(MainWindowPosition(frame, std::nullopt, screens), QPoint(0, 32));
    EXPECT_EQ(MainWindowPosition(frame, QPoint(2000, 500), screens), QPoint(2000, 500));
    EXPECT_EQ(MainWindowPosition(frame, QPoint(1000, 600), screens), QPoint(766, 468));
    EXPECT_EQ(MainWindowPosition(frame, QPoint(4000, 100), screens), QPoint(0, 32));  // screen gone
}

TEST_F(ShowSheetTest, TheMainWindowStartsAtTheLeftAndRemembersWhereItWas) {
    StartMain();
    const QRect screen = placement::AvailableArea(*main);
    EXPECT_EQ(main->frameGeometry().topLeft(), screen.topLeft());
    main->move(screen.topLeft() + QPoint(30, 20));
    main.reset();
    EXPECT_EQ(settings->value("MainWindow/Left").toString(), QString::number(screen.x() + 30));
    StartMain();
    EXPECT_EQ(main->frameGeometry().topLeft(), screen.topLeft() + QPoint(30, 20));
}

TEST_F(ShowSheetTest, FocusGoesBackToTheButtonThatOpenedTheSheet) {
    StartMain();
    main->NewDocument();
    for (const char* name : {"cmdDeath", "cmdWeapons"}) {
        auto* button = main->findChild<QPushButton*>(name);
        button->click();
        QPointer<QDialog> sheet = main->OpenSheet();
        ASSERT_TRUE(sheet);
        EXPECT_NE(main->focusWidget(), button);
        sheet->reject();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(main->focusWidget(), button) << name;
    }
}

TEST_F(ShowSheetTest, EveryWayOfClosingEnablesTheMainWindowAgain) {
    struct Way {
        const char* name;
        void (*close)(QDialog*);
    };
    const Way ways[] = {
        {"OK button", [](QDialog* d) { QTest::mouseClick(d->findChild<QPushButton*>("cmdOK"),
                                                         Qt::LeftButton); }},
        {"accept", [](QDialog* d) { d->accept(); }},
        {"reject (Cancel)", [](QDialog* d) { d->reject(); }},
        {"Escape key", [](QDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }},
        {"close box", [](QDialog* d) {
             QCloseEvent event;  // what the window system sends for the close box
             QCoreApplication::sendEvent(d, &event);
         }},
        {"deleted", [](QDialog* d) { delete d; }},
    };
    StartMain();
    for (const Way& way : ways) {
        SCOPED_TRACE(way.name);
        QPointer<QDialog> sheet = main->ShowSheet([this] { return MakeSampleSheet(*main); });
        ASSERT_FALSE(main->isEnabled());
        way.close(sheet);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(main->isEnabled());
        EXPECT_TRUE(sheet.isNull()) << "a closed sheet is deleted";
        EXPECT_EQ(main->OpenSheet(), nullptr);
    }
}

TEST_F(ShowSheetTest, ASheetMadeWithoutParentBecomesAUsableWindowOfTheMainWindow) {
    StartMain();
    QDialog* sheet = main->ShowSheet([] {
        auto* orphan = new QDialog;
        new QLineEdit(orphan);
        return orphan;
    });
    EXPECT_EQ(sheet->parentWidget(), main.get());
    EXPECT_TRUE(sheet->isWindow());
    EXPECT_FALSE(main->isEnabled());
    ExpectUsable(sheet);
    main.reset();  // takes the sheet with it
}

TEST_F(ShowSheetTest, AFactoryThatGivesNoWindowLeavesTheMainWindowEnabled) {
    StartMain();
    EXPECT_EQ(main->ShowSheet([] { return static_cast<QDialog*>(nullptr); }), nullptr);
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(ShowSheetTest, TheShellsOwnDialogsOpenThroughShowSheet) {
    StartMain();
    main->move(40, 30);
    for (const char* action : {"DecompiledData", "Preferences", "About"}) {
        SCOPED_TRACE(action);
        main->findChild<QAction*>(action)->trigger();
        QPointer<QDialog> dialog = main->OpenSheet();
        EXPECT_FALSE(main->isEnabled());
        ExpectUsable(dialog);
        EXPECT_EQ(dialog->frameGeometry().topLeft(),
                  placement::SheetPosition(main->frameGeometry(), dialog->frameGeometry().size(),
                                           placement::AvailableArea(*main)));
        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(main->isEnabled());
        EXPECT_TRUE(dialog.isNull());
    }
}

}  // namespace
