// Fixture for the window tests: a main window on a throw-away settings store, with its logs in a
// temporary folder and a ScriptedPrompter that records messages and answers dialogs.
#pragma once

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "frmfrontend.h"
#include "prompter.h"
#include "sheetbuttons.h"

// Failed comparisons of QStrings (and of QStringLists, element by element) print the text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

class GuiTest : public ::testing::Test {
protected:
    QTemporaryDir temp;
    std::unique_ptr<QSettings> settings;
    ScriptedPrompter prompter;
    std::unique_ptr<frmFrontend> main;

    // The sample data directory of examples/Data, stored as the data directory setting.
    static QString ExamplesDir() { return QStringLiteral(TARVISK_EXAMPLES_DIR); }
    static QString SampleDataDir() { return ExamplesDir() + "/Data"; }

    void SetUp() override {
        ASSERT_TRUE(temp.isValid());
        settings = std::make_unique<QSettings>(temp.filePath("settings.ini"), QSettings::IniFormat);
        settings->setValue("Directories/Decompiled_Data", SampleDataDir());
        settings->sync();
    }

    // Writes a file of these bytes into the temporary folder; its path, in the system's separators.
    QString WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = QDir::toNativeSeparators(temp.filePath(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    // The file's bytes; empty when it cannot be read.
    static QByteArray ReadFile(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QAction* Action(const char* name) { return main->findChild<QAction*>(name); }

    // Creates the main window (after the test has adjusted the settings if it wants to).
    frmFrontend& StartMain() {
        main = std::make_unique<frmFrontend>(SheetButtons(), &prompter, settings.get(), temp.path());
        main->show();
        return *main;
    }

    void TearDown() override {
        main.reset();
        settings.reset();
    }
};
