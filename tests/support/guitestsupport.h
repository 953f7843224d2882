// Fixture for the window tests: a main window on a throw-away settings store, with its logs in a
// temporary folder and a ScriptedPrompter that records messages and answers dialogs.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QSettings>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "frmfrontend.h"
#include "prompter.h"

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

    // Creates the main window (after the test has adjusted the settings if it wants to).
    frmFrontend& StartMain() {
        main = std::make_unique<frmFrontend>(&prompter, settings.get(), temp.path());
        main->show();
        return *main;
    }

    void TearDown() override {
        main.reset();
        settings.reset();
    }
};
