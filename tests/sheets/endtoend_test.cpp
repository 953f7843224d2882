// The road of a typical edit: open the sample script from the File menu, change values through
// two sheets, Save As, and compare the written script line by line with the expected one.
#include <QDir>
#include <QFile>

#include "sheettest.h"

namespace {

QStringList Lines(const QString& path) {
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
    return QString::fromLatin1(file.readAll()).split("\r\n");
}

using EndToEndTest = SheetTest;

TEST_F(EndToEndTest, OpenEditInTwoSheetsSaveAsWritesExactlyTheEditedLines) {
    StartMain();
    prompter.openReplies << ExamplesDir() + "/tvk_scout.ship";
    main->OpenDocument();
    ASSERT_TRUE(main->ShipFile);
    ASSERT_EQ(prompter.messages.value(0), "tvk_scout.ship opened succesfully.");

    Open("cmdBasicProperties");
    Type("Value(0)", "Tarvish Wayfinder");
    Type("Value(2)", "80");
    Ok();
    ExpectClosed();

    Open("cmdPropulsion");
    Type("Value(3)", "0.75");
    Type("Value(13)", "2.5");
    Ok();
    ExpectClosed();

    const QString written = temp.filePath("tvk_scout_out.ship");
    prompter.saveReplies << written;
    main->SaveDocumentAs();
    ASSERT_EQ(prompter.messages.value(1),
              "Successfully saved to the file '" + QDir::toNativeSeparators(written) + "'.");

    const QStringList expected = Lines(QStringLiteral(TARVISK_SHEETS_TEST_DATA) +
                                       "/tvk_scout_edited.ship");
    const QStringList actual = Lines(written);
    for (qsizetype i = 0; i < std::min(expected.size(), actual.size()); ++i)
        ASSERT_EQ(actual[i], expected[i]) << "line " << i + 1;
    EXPECT_EQ(actual.size(), expected.size());
}

}  // namespace
