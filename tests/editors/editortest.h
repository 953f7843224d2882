// Fixture for the list editors' tests: a main window with a new document and a data directory of
// the test's own, and small helpers to open an editor by its button and reach its controls.
#pragma once

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>

#include <string>

#include "guitestsupport.h"
#include "sr2shipfile.h"

class EditorTest : public GuiTest {
protected:
    QTemporaryDir data;

    void SetUp() override {
        GuiTest::SetUp();
        ASSERT_TRUE(data.isValid());
        StartMain();
        main->strDataDir = data.path();
        main->NewDocument();
        prompter.messages.clear();
    }

    SR2ShipFile& Doc() { return *main->ShipFile; }

    // Replaces the open document by one read from a script of the given lines.
    void LoadScript(const QStringList& lines) {
        const QString path = temp.filePath("test.ship");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(("NewShipType = StartShipConfig()\r\n" + lines.join("\r\n") + "\r\n").toLatin1());
        f.close();
        main->OpenScript(path);
        ASSERT_NE(main->Session(), nullptr);
        prompter.messages.clear();
        prompter.messageKinds.clear();
    }

    // Opens the editor behind the main window's button, as the user does.
    QDialog* OpenBy(const char* button) {
        auto* b = main->findChild<QPushButton*>(button);
        EXPECT_NE(b, nullptr) << button;
        if (!b) return nullptr;
        b->click();
        QDialog* sheet = main->OpenSheet();
        EXPECT_NE(sheet, nullptr) << button;
        return sheet;
    }

    template <class W>
    static W* Child(QWidget* sheet, const QString& name) {
        W* w = sheet->findChild<W*>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }

    static void Click(QWidget* sheet, const char* button) {
        if (auto* b = Child<QPushButton>(sheet, button)) b->click();
    }

    // The sheet, its controls and the state of the main window while it is open.
    void ExpectUsableBesideMain(QDialog* sheet) {
        ASSERT_NE(sheet, nullptr);
        EXPECT_FALSE(main->isEnabled());
        EXPECT_TRUE(sheet->isVisible());
        EXPECT_TRUE(sheet->isEnabled());
        EXPECT_TRUE(Child<QPushButton>(sheet, "cmdOK")->isEnabled());
        EXPECT_TRUE(Child<QPushButton>(sheet, "cmdCancel")->isEnabled());
    }

    void MakeDir(const QString& relative) { ASSERT_TRUE(QDir(data.path()).mkpath(relative)); }
    void MakeFile(const QString& relative) {
        QFile f(data.filePath(relative));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }

    // The object names of the controls that Tab visits, in order, starting at the sheet's first.
    static QStringList TabOrder(QWidget* sheet) {
        QStringList names;
        QWidget* w = sheet;
        for (int guard = 0; guard < 500; ++guard) {
            w = w->nextInFocusChain();
            if (w == sheet) break;
            if (sheet->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() &&
                w->isVisible() && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
                names << w->objectName();
        }
        return names;
    }

    static QStringList Items(const QComboBox* box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
        return items;
    }
    static QStringList Items(const QListWidget* list) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
        return items;
    }
};

// Whole entries, kept text included: what a Cancel must give back exactly.
template <class V>
bool SameEntries(const std::vector<SR2ShipFile::Entry<V>>& a,
                 const std::vector<SR2ShipFile::Entry<V>>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (!(a[i].values == b[i].values) || a[i].keptText != b[i].keptText ||
            !(a[i].keptValues == b[i].keptValues))
            return false;
    }
    return true;
}
