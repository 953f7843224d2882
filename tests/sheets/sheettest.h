// Fixture for the sheet tests: a main window with a document, sheets opened through its buttons,
// and a throw-away data directory to fill with formation, family and manoeuvre files.
#pragma once

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEnterEvent>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include "guitestsupport.h"
#include "sr2shipfile.h"

class SheetTest : public GuiTest {
protected:
    QPointer<QDialog> sheet;

    // A main window holding a new document, with the data directory given (the sample one when
    // empty).
    SR2ShipFile& NewDocument(const QString& dataDir = {}) {
        StartMain();
        if (!dataDir.isEmpty()) main->strDataDir = dataDir;
        main->NewDocument();
        return *main->ShipFile;
    }
    SR2ShipFile& Doc() { return *main->ShipFile; }
    std::string Field(const char* name) { return Doc().GetFieldText(name); }
    void SetField(const char* name, const char* text) {
        ASSERT_TRUE(Doc().SetFieldText(name, text)) << name;
    }

    // Opens a sheet the way the user does: by its main-window button.
    QDialog* Open(const char* button) {
        auto* b = main->findChild<QPushButton*>(button);
        EXPECT_NE(b, nullptr) << button;
        if (!b) return nullptr;
        b->click();
        sheet = main->OpenSheet();
        EXPECT_NE(sheet.data(), nullptr) << button;
        return sheet;
    }

    template <class T = QWidget>
    T* Get(const QString& name) {
        T* w = sheet ? sheet->findChild<T*>(name) : nullptr;
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    QString Text(const QString& name) { return Get<QLineEdit>(name)->text(); }
    void Type(const QString& name, const QString& text) { Get<QLineEdit>(name)->setText(text); }
    QComboBox* Combo(const QString& name) { return Get<QComboBox>(name); }
    QString Desc() { return Get<QLabel>("Desc")->text(); }
    void Hover(const QString& name) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(Get(name), &enter);
    }
    static QStringList Items(QComboBox* box) {
        QStringList items;
        for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
        return items;
    }
    static QStringList Items(QListWidget* list) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
        return items;
    }

    void Ok() { Get<QPushButton>("cmdOK")->click(); }
    void Cancel() { Get<QPushButton>("cmdCancel")->click(); }
    void CloseBox() {
        QCloseEvent event;  // what the window system sends for the close box
        QCoreApplication::sendEvent(sheet, &event);
    }
    // After OK, Cancel or the close box: the sheet is gone and the main window usable again.
    void ExpectClosed() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(sheet.isNull());
        EXPECT_TRUE(main->isEnabled());
    }

    // A data directory of this test's own, to be filled with WriteData.
    QString DataDir() { return temp.filePath("Data"); }
    void WriteData(const QString& relative, const QByteArray& bytes) {
        const QString path = DataDir() + "/" + relative;
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};
