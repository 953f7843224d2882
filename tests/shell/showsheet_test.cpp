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
    QDialog* sheet = Open();
    const QRect frame = main->frameGeometry();
    EXPECT_EQ(sheet->frameGeometry().topLeft(), QPoint(frame.x() + frame.width(), frame.y()));
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
        const QRect frame = main->frameGeometry();
        EXPECT_EQ(dialog->frameGeometry().topLeft(), QPoint(frame.right() + 1, frame.top()));
        dialog->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(main->isEnabled());
        EXPECT_TRUE(dialog.isNull());
    }
}

}  // namespace
