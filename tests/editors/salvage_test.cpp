// The salvage chunks editor: the chunk list, the value boxes and their key filter, storing and
// refusing values, the restore on Cancel, the choices, and the placement box.
#include <QImage>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>

#include "builtinnames.h"
#include "datadirnames.h"
#include "editortest.h"
#include "frmsalvagechunks.h"
#include "placementbox.h"

namespace {

// A salvage line; every value not given is told apart by its own number.
QString ChunkLine(const QString& name, const QString& chunks, const QString& percent,
                  const QString& x, const QString& y, const QString& z) {
    return QString("SpawnSalvageOnDeath(NewShipType, \"%1\", %2, %3, %4, %5, %6, 7, 8, 9, 10, 11, "
                   "12, 13, 14, 15, 16, 17, 18, 19)")
        .arg(name, chunks, percent, x, y, z);
}

class SalvageTest : public EditorTest {
protected:
    QPointer<QDialog> sheet;
    QListWidget* list = nullptr;
    QComboBox* names = nullptr;
    PlacementBox* box = nullptr;

    void Open() {
        sheet = OpenBy("cmdSalvageChunks");
        ASSERT_NE(sheet, nullptr);
        list = Child<QListWidget>(sheet, "lstChunks");
        names = Child<QComboBox>(sheet, "cboChunkNames");
        box = Child<PlacementBox>(sheet, "PlacementBox");
    }
    QLineEdit* Box(const QString& name) { return Child<QLineEdit>(sheet, name); }
    frmSalvageChunks* Editor() { return qobject_cast<frmSalvageChunks*>(sheet.data()); }

    void LoadThree() {
        LoadScript({ChunkLine("slv_chunk_lrg01", "1", "0.07", "10", "20", "30"),
                    ChunkLine("slv_chunk_lrg02", "2", "0.3", "-40", "50", "60"),
                    ChunkLine("slv_chunk_lrg03", "3", "0.5", "70", "80", "90")});
    }

    // A press (or move) on the placement box at a pixel given in the widget's own coordinates.
    void Press(QPointF at, Qt::MouseButtons buttons, QEvent::Type type = QEvent::MouseButtonPress) {
        const Qt::MouseButton button =
            type == QEvent::MouseMove ? Qt::NoButton
                                      : (buttons & Qt::LeftButton ? Qt::LeftButton : Qt::RightButton);
        QMouseEvent event(type, at, box->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(box, &event);
    }
};

TEST_F(SalvageTest, OpensWithTheChunkControlsDisabledAndNothingSelected) {
    LoadThree();
    Open();
    ExpectUsableBesideMain(sheet);
    EXPECT_EQ(sheet->windowTitle(), "Salvage Chunks");
    EXPECT_EQ(Items(list), (QStringList{"slv_chunk_lrg01", "slv_chunk_lrg02", "slv_chunk_lrg03"}));
    EXPECT_EQ(list->selectedItems().size(), 0);
    EXPECT_TRUE(list->isEnabled());
    EXPECT_TRUE(names->isEnabled());
    EXPECT_FALSE(Child<QPushButton>(sheet, "cmdRemove")->isEnabled());
    for (int i = 0; i < 9; ++i) {
        EXPECT_FALSE(Box(QString("Value(%1)").arg(i))->isEnabled());
        EXPECT_TRUE(Box(QString("Value(%1)").arg(i))->text().isEmpty());
    }
    for (const char* frame : {"PositionFrame", "RotationFrame", "VelocityFrame"})
        EXPECT_FALSE(Child<QWidget>(sheet, frame)->isEnabled());
    EXPECT_FALSE(box->isEnabled());
    EXPECT_FALSE(Child<QScrollBar>(sheet, "scrHeight")->isEnabled());
    EXPECT_EQ(Box("txtRotation(1)")->text(), "0");
    EXPECT_EQ(Box("txtPosition(0)")->text(), "0");
    EXPECT_EQ(Editor()->CurrentChunkIndex(), -1);
    EXPECT_EQ(Child<QLabel>(sheet, "PropLabel(1)")->text(), "% of Total RU Value ");
    EXPECT_EQ(Child<QLabel>(sheet, "PropLabel(1)")->buddy(), Box("Value(1)"));

    // Add with no name chosen.
    Click(sheet, "cmdAdd");
    EXPECT_EQ(prompter.messages, QStringList{"Please specify a salvage chunk to add."});
    EXPECT_EQ(Doc().SSOD_Num, 2);
}

TEST_F(SalvageTest, ShowingAChunkFillsTheBoxesAndEnablesThem) {
    LoadThree();
    Open();
    list->setCurrentRow(1);
    EXPECT_EQ(Box("Value(0)")->text(), "2");
    EXPECT_EQ(Box("Value(1)")->text(), "30");  // percent shown times 100
    EXPECT_EQ(Box("Value(2)")->text(), "7");
    EXPECT_EQ(Box("Value(3)")->text(), "15");  // cloud dispersion
    EXPECT_EQ(Box("Value(4)")->text(), "19");  // random tumble modifier
    EXPECT_EQ(Box("Value(5)")->text(), "8");
    EXPECT_EQ(Box("Value(6)")->text(), "9");
    EXPECT_EQ(Box("Value(7)")->text(), "10");
    EXPECT_EQ(Box("Value(8)")->text(), "11");
    EXPECT_EQ(Box("txtPosition(0)")->text(), "-40");
    EXPECT_EQ(Box("txtPosition(1)")->text(), "50");
    EXPECT_EQ(Box("txtPosition(2)")->text(), "60");
    EXPECT_EQ(Box("txtVelocity(0)")->text(), "12");
    EXPECT_EQ(Box("txtVelocity(2)")->text(), "14");
    EXPECT_EQ(Box("txtRotation(0)")->text(), "16");
    EXPECT_EQ(Box("txtRotation(1)")->text(), "18");  // the script gives rotation X, Z, Y
    EXPECT_EQ(Box("txtRotation(2)")->text(), "17");
    EXPECT_EQ(names->currentText(), "slv_chunk_lrg02");
    EXPECT_TRUE(Box("Value(0)")->isEnabled());
    EXPECT_TRUE(Box("txtPosition(0)")->isEnabled());
    EXPECT_FALSE(Box("txtPosition(2)")->isEnabled());  // Z is never typed
    EXPECT_TRUE(box->isEnabled());
    EXPECT_TRUE(Child<QScrollBar>(sheet, "scrHeight")->isEnabled());
    EXPECT_TRUE(Child<QPushButton>(sheet, "cmdRemove")->isEnabled());
    EXPECT_EQ(Editor()->CurrentChunkIndex(), 1);
}

TEST_F(SalvageTest, ChoosingAnotherChunkOrOkStoresTheShownValues) {
    LoadThree();
    Open();
    list->setCurrentRow(0);
    Box("Value(0)")->setText("4");
    Box("Value(1)")->setText("12.5");
    Box("txtVelocity(1)")->setText("-3.5");
    Box("txtRotation(1)")->setText("99");
    list->setCurrentRow(2);
    Doc().SSOD_LoadValues(0);
    EXPECT_EQ(Doc().SSOD_NumChunksToSpawn, 4);
    EXPECT_DOUBLE_EQ(Doc().SSOD_PercentOfTotalValue, 0.125);
    EXPECT_EQ(Doc().SSOD_VelocityY, -3.5);
    EXPECT_EQ(Doc().SSOD_RotationY, 99);
    EXPECT_EQ(Doc().SSOD_RotationZ, 17);

    Box("Value(8)")->setText("2.25");
    Click(sheet, "cmdOK");
    Doc().SSOD_LoadValues(2);
    EXPECT_EQ(Doc().SSOD_Unknown2, 2.25);
    EXPECT_TRUE(main->isEnabled());
}

TEST_F(SalvageTest, CancelPutsBackTheWholeListNamesValuesAndOrder) {
    LoadThree();
    const auto before = Doc().SSOD_GetList();
    const std::string scriptBefore = Doc().ScriptText();
    Open();
    list->setCurrentRow(0);
    Box("Value(0)")->setText("9");
    names->setCurrentIndex(0);
    Click(sheet, "cmdAdd");
    list->setCurrentRow(1);  // stores chunk 0's edit
    Click(sheet, "cmdRemove");
    Box("txtPosition(0)")->setText("5");
    list->setCurrentRow(2);
    ASSERT_NE(Doc().ScriptText(), scriptBefore);

    Click(sheet, "cmdCancel");
    EXPECT_TRUE(SameEntries(Doc().SSOD_GetList(), before));
    EXPECT_EQ(Doc().SSOD_Num, 2);
    EXPECT_EQ(Doc().ScriptText(), scriptBefore);
    EXPECT_TRUE(main->isEnabled());

    Open();
    list->setCurrentRow(0);
    Box("Value(0)")->setText("9");
    sheet->close();  // the close box
    EXPECT_TRUE(SameEntries(Doc().SSOD_GetList(), before));
}

TEST_F(SalvageTest, AChunkLeftAsShownKeepsItsValuesToTheLastDigit) {
    // 0.07 shown as 7 and stored back as 7 / 100 would not be the number read.
    LoadScript({ChunkLine("a", "1", "0.07", "0.1", "0.30000000000000004", "1.23456789012345678")});
    const auto before = Doc().SSOD_GetList();
    Open();
    list->setCurrentRow(0);
    Click(sheet, "cmdOK");
    EXPECT_TRUE(SameEntries(Doc().SSOD_GetList(), before));
}

TEST_F(SalvageTest, RemovingTheSecondOfThreeShowsTheFirstAndKeepsTheOthersValues) {
    LoadThree();
    Open();
    list->setCurrentRow(1);
    Box("Value(0)")->setText("8");  // dropped with the chunk
    Click(sheet, "cmdRemove");
    EXPECT_EQ(Items(list), (QStringList{"slv_chunk_lrg01", "slv_chunk_lrg03"}));
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_EQ(Box("Value(0)")->text(), "1");
    EXPECT_EQ(Box("txtPosition(0)")->text(), "10");
    Doc().SSOD_LoadValues(1);
    EXPECT_EQ(Doc().SSOD_NumChunksToSpawn, 3);
    EXPECT_EQ(Doc().SSOD_PositionX, 70);
}

TEST_F(SalvageTest, RemovingTheLastChunkDisablesTheControlsAndOkStoresNothing) {
    LoadScript({ChunkLine("a", "1", "0.5", "1", "2", "3")});
    Open();
    list->setCurrentRow(0);
    Box("Value(0)")->setText("6");
    Click(sheet, "cmdRemove");
    EXPECT_EQ(Doc().SSOD_Num, -1);
    EXPECT_EQ(list->count(), 0);
    EXPECT_FALSE(Box("Value(0)")->isEnabled());
    EXPECT_FALSE(box->isEnabled());
    EXPECT_FALSE(box->Marker().has_value());
    EXPECT_FALSE(Child<QPushButton>(sheet, "cmdRemove")->isEnabled());
    Click(sheet, "cmdOK");
    EXPECT_EQ(Doc().SSOD_Num, -1);
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(SalvageTest, AddAppendsWithoutSelectingAndRemoveWithoutSelectionDoesNothing) {
    LoadThree();
    Open();
    list->setCurrentRow(2);
    Box("Value(2)")->setText("3.5");
    names->setCurrentIndex(names->findText("container"));
    Click(sheet, "cmdAdd");
    EXPECT_EQ(list->count(), 4);
    EXPECT_EQ(list->item(3)->text(), "container");
    EXPECT_EQ(list->selectedItems().size(), 0);
    EXPECT_EQ(Box("Value(2)")->text(), "3.5");  // still the current chunk's
    Click(sheet, "cmdRemove");
    EXPECT_EQ(Doc().SSOD_Num, 3);
    Doc().SSOD_LoadValues(3);
    EXPECT_EQ(Doc().SSOD_NumChunksToSpawn, 1);
    EXPECT_EQ(Doc().SSOD_PositionX, 0);
    Click(sheet, "cmdOK");  // the edit of the chunk shown goes to that chunk
    Doc().SSOD_LoadValues(2);
    EXPECT_EQ(Doc().SSOD_RandomAddToSpawnLocation, 3.5);
}

TEST_F(SalvageTest, TextThatIsNoNumberIsRefusedAndNothingOfTheChunkIsStored) {
    LoadThree();
    const auto before = Doc().SSOD_GetList();
    Open();
    list->setCurrentRow(0);
    Box("Value(0)")->setText("5");
    Box("txtPosition(0)")->setText("12a");
    list->setCurrentRow(1);
    EXPECT_EQ(prompter.messages, QStringList{"'12a' is not a valid value for Initial Position X."});
    EXPECT_EQ(list->currentRow(), 0);
    EXPECT_TRUE(list->item(0)->isSelected());
    EXPECT_EQ(Box("txtPosition(0)")->text(), "12a");
    EXPECT_EQ(Box("Value(0)")->text(), "5");
    EXPECT_TRUE(SameEntries(Doc().SSOD_GetList(), before));

    // A click on another entry is refused the same way.
    const QRect other = list->visualItemRect(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, other.center());
    EXPECT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(list->currentRow(), 0);

    Box("txtPosition(0)")->setText("12");
    Box("txtVelocity(2)")->setText("fast");
    Click(sheet, "cmdOK");
    EXPECT_EQ(prompter.messages.last(), "'fast' is not a valid value for Initial Velocity Z.");
    EXPECT_TRUE(sheet->isVisible());
    EXPECT_TRUE(SameEntries(Doc().SSOD_GetList(), before));

    Box("txtVelocity(2)")->setText("4");
    Box("Value(2)")->setText(".");
    Click(sheet, "cmdOK");
    EXPECT_EQ(prompter.messages.last(), "'.' is not a valid value for Random Add to Spawn.");
    EXPECT_TRUE(sheet->isVisible());

    Box("Value(2)")->setText("0.5");
    Click(sheet, "cmdOK");
    Doc().SSOD_LoadValues(0);
    EXPECT_EQ(Doc().SSOD_NumChunksToSpawn, 5);
    EXPECT_EQ(Doc().SSOD_PositionX, 12);
    EXPECT_EQ(Doc().SSOD_VelocityZ, 4);
    EXPECT_EQ(Doc().SSOD_RandomAddToSpawnLocation, 0.5);
}

TEST_F(SalvageTest, TheValueBoxesTakeOnlyDigitsAndOnePoint) {
    LoadThree();
    Open();
    list->setCurrentRow(0);
    QLineEdit* value = Box("Value(3)");
    value->setFocus();
    value->setText("15");
    value->end(false);
    QTest::keyClicks(value, "-a,x ");
    EXPECT_EQ(value->text(), "15");
    QTest::keyClicks(value, ".2.5");
    EXPECT_EQ(value->text(), "15.25");
    QTest::keyClick(value, Qt::Key_Home);  // moving keys pass
    QTest::keyClick(value, Qt::Key_Delete);
    EXPECT_EQ(value->text(), "5.25");
    QTest::keyClick(value, Qt::Key_End);
    QTest::keyClick(value, Qt::Key_Backspace);
    EXPECT_EQ(value->text(), "5.2");

    // An emptied box holds "0" at once.
    value->selectAll();
    QTest::keyClick(value, Qt::Key_Backspace);
    EXPECT_EQ(value->text(), "0");
    value->clear();
    EXPECT_EQ(value->text(), "0");

    // The position, rotation and velocity boxes take any text.
    QLineEdit* x = Box("txtPosition(0)");
    x->clear();
    QTest::keyClicks(x, "-1.5");
    EXPECT_EQ(x->text(), "-1.5");
}

TEST_F(SalvageTest, ChoicesAreTheBuiltInNamesThenTheSalvageFolder) {
    MakeDir("resource/salvage/tvk_plate");
    MakeDir("resource/salvage/CONTAINER");
    MakeDir("resource/salvage/.cache");
    MakeFile("resource/salvage/tvk_bolt.resource");
    Open();
    const QStringList items = Items(names);
    ASSERT_EQ(items.size(), 20);
    EXPECT_EQ(items.mid(0, 18), datadir::FromFolderNames(builtinnames::SalvageChunks()));
    EXPECT_EQ(items.mid(18), (QStringList{"tvk_bolt.resource", "tvk_plate"}));
    EXPECT_EQ(names->currentIndex(), -1);

    sheet->close();
    main->strDataDir = data.filePath("missing");
    Open();
    EXPECT_EQ(Items(names), datadir::FromFolderNames(builtinnames::SalvageChunks()));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(SalvageTest, AChunkNamedNowhereElseIsShownAsANewLastChoice) {
    LoadScript({ChunkLine("Tvk_Wreck", "1", "0", "0", "0", "0")});
    Open();
    list->setCurrentRow(0);
    EXPECT_EQ(names->currentText(), "Tvk_Wreck");
    EXPECT_EQ(names->itemText(names->count() - 1), "Tvk_Wreck");
    EXPECT_EQ(names->count(), 19);
}

TEST_F(SalvageTest, TabFollowsTheLayout) {
    LoadThree();
    Open();
    list->setCurrentRow(0);
    QStringList expected{"lstChunks", "cboChunkNames", "cmdAdd", "cmdRemove"};
    for (int i = 0; i < 9; ++i) expected << QString("Value(%1)").arg(i);
    expected << "txtPosition(0)" << "txtPosition(1)";  // Z is never typed
    for (const char* v : {"txtRotation", "txtVelocity"})
        for (int a = 0; a < 3; ++a) expected << QString("%1(%2)").arg(v).arg(a);
    // The height bar is worked by dragging only, as a scroll bar it takes no Tab stop.
    expected << "GraphScale" << "cmdOK" << "cmdCancel";
    EXPECT_EQ(TabOrder(sheet), expected);
}

// ----- Placement -----

TEST(PlacementScale, CountsTheCharactersOfThePlainDecimalText) {
    EXPECT_EQ(PlacementBox::DigitCount(0), 1);
    EXPECT_EQ(PlacementBox::DigitCount(7), 1);
    EXPECT_EQ(PlacementBox::DigitCount(150), 3);
    EXPECT_EQ(PlacementBox::DigitCount(1500), 4);
    EXPECT_EQ(PlacementBox::DigitCount(12.5), 4);
    EXPECT_EQ(PlacementBox::DigitCount(0.5), 2);
    EXPECT_EQ(PlacementBox::DigitCount(-20), 2);
    EXPECT_EQ(PlacementBox::DigitCount(1E-05), 6);     // ".00001"
    EXPECT_EQ(PlacementBox::DigitCount(1E+15), 16);    // all its digits, not "1E+15"
    EXPECT_EQ(PlacementBox::DigitCount(100.25), 6);

    int k = 0;
    EXPECT_EQ(PlacementBox::ScaleFor(1500, -20, &k), 10000);
    EXPECT_EQ(k, 4);
    EXPECT_EQ(PlacementBox::ScaleFor(3, -0.5, &k), 10);  // the larger value, not the longer text
    EXPECT_EQ(PlacementBox::ScaleFor(0.25, -0.5, &k), 100);
    EXPECT_EQ(k, 2);
    EXPECT_EQ(PlacementBox::ScaleFor(1E+15, 0, &k), 1000000000);
    EXPECT_EQ(k, 9);
}

TEST_F(SalvageTest, TheExampleChunkIsDrawnRightOfTheCentreAndSlightlyBelow) {
    LoadScript({ChunkLine("a", "1", "0", "1500", "-20", "0")});
    Open();
    list->setCurrentRow(0);
    EXPECT_EQ(Editor()->PlacementScaleInUse(), 10000);
    EXPECT_EQ(box->Scale(), 10000);
    EXPECT_EQ(Child<QComboBox>(sheet, "GraphScale")->currentText(), "10,000");
    ASSERT_TRUE(box->Marker().has_value());
    EXPECT_EQ(*box->Marker(), QPointF(1500, 20));
    EXPECT_EQ(box->MarkerRadius(), 1000);
    EXPECT_EQ(box->width(), box->height());

    // Seen as a person sees it: red on the circle's right edge, none on the centre lines.
    const QImage image = box->grab().toImage();
    const QPointF at = box->ToWidget({1500, 20});
    EXPECT_GT(at.x(), box->width() / 2.0);
    EXPECT_GT(at.y(), box->height() / 2.0);
    const QPointF edge = box->ToWidget({2500, 20});
    const QColor onEdge = image.pixelColor(edge.toPoint() - QPoint(1, 0));
    EXPECT_GT(onEdge.red(), 200);
    EXPECT_LT(onEdge.green(), 120);
    const QColor centre = image.pixelColor(box->width() / 4, box->height() / 4);
    EXPECT_EQ(centre, QColor(Qt::white));
}

TEST_F(SalvageTest, LongCoordinatesShowTheLastScaleAndStillScale) {
    LoadScript({ChunkLine("a", "1", "0", "123456.5", "0", "0")});
    Open();
    list->setCurrentRow(0);
    EXPECT_EQ(Child<QComboBox>(sheet, "GraphScale")->currentText(), "100,000");
    EXPECT_EQ(box->Scale(), 100000000);
}

TEST_F(SalvageTest, PlacingByTheLeftButtonRoundsHalvesToEven) {
    LoadScript({ChunkLine("a", "1", "0", "1500", "-20", "0")});
    Open();
    list->setCurrentRow(0);
    box->PlaceAt({-2.5, 40.5});
    EXPECT_EQ(Box("txtPosition(0)")->text(), "-2");
    EXPECT_EQ(Box("txtPosition(1)")->text(), "-40");
    EXPECT_EQ(*box->Marker(), QPointF(-2, 40));
    EXPECT_EQ(box->Scale(), 10000);  // kept until a chunk is shown again
}

TEST_F(SalvageTest, TheMouseOnThePlacementBoxSetsXAndY) {
    // At a scale of 100 the 200-pixel box has one unit per pixel, so the pointer can be put at
    // box point (-2.5, 40.5) exactly.
    LoadScript({ChunkLine("a", "1", "0", "50", "20", "0")});
    Open();
    list->setCurrentRow(0);
    ASSERT_EQ(box->Scale(), 100);
    ASSERT_EQ(box->width(), 200);
    const QPointF pixel = box->ToWidget({-2.5, 40.5});
    EXPECT_EQ(pixel, QPointF(97.5, 140.5));
    EXPECT_EQ(box->ToBox(pixel), QPointF(-2.5, 40.5));

    Press(pixel, Qt::LeftButton);
    EXPECT_EQ(Box("txtPosition(0)")->text(), "-2");
    EXPECT_EQ(Box("txtPosition(1)")->text(), "-40");

    // Dragging with the left button follows the pointer.
    Press({150.5, 60}, Qt::LeftButton, QEvent::MouseMove);
    EXPECT_EQ(Box("txtPosition(0)")->text(), "50");
    EXPECT_EQ(Box("txtPosition(1)")->text(), "40");

    // Any other button, or a second one held with the left, leaves the chunk where it is.
    Press({10, 10}, Qt::RightButton);
    Press({10, 10}, Qt::LeftButton | Qt::RightButton, QEvent::MouseMove);
    EXPECT_EQ(Box("txtPosition(0)")->text(), "50");

    // A real click through QTest, at a whole pixel.
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(Box("txtPosition(0)")->text(), "0");
    EXPECT_EQ(Box("txtPosition(1)")->text(), "0");

    Click(sheet, "cmdOK");
    Doc().SSOD_LoadValues(0);
    EXPECT_EQ(Doc().SSOD_PositionX, 0);
    EXPECT_EQ(Doc().SSOD_PositionY, 0);
}

TEST_F(SalvageTest, TheHeightBarFollowsZAndOnlyADragChangesIt) {
    LoadScript({ChunkLine("a", "1", "0", "0", "0", "250.5"), ChunkLine("b", "1", "0", "0", "0", "-7")});
    Open();
    auto* height = Child<QScrollBar>(sheet, "scrHeight");
    EXPECT_EQ(height->minimum(), -100);
    EXPECT_EQ(height->maximum(), 100);
    EXPECT_TRUE(height->invertedAppearance());  // +100 at the top
    list->setCurrentRow(0);
    EXPECT_EQ(height->value(), 100);
    EXPECT_EQ(Box("txtPosition(2)")->text(), "250.5");
    list->setCurrentRow(1);
    EXPECT_EQ(height->value(), -7);
    list->setCurrentRow(0);
    Doc().SSOD_LoadValues(0);
    EXPECT_EQ(Doc().SSOD_PositionZ, 250.5);  // showing does not clamp Z

    height->setValue(20);  // arrows and the track do not set Z
    EXPECT_EQ(Box("txtPosition(2)")->text(), "250.5");
    height->setSliderDown(true);
    height->setSliderPosition(37);
    height->setSliderDown(false);
    EXPECT_EQ(Box("txtPosition(2)")->text(), "37");
    Click(sheet, "cmdOK");
    Doc().SSOD_LoadValues(0);
    EXPECT_EQ(Doc().SSOD_PositionZ, 37);
}

}  // namespace
