// End to end: open the sample script from the main window, add a weapon, move a salvage chunk with
// the placement box, add an ability with a parameter, Save As, and compare with the expected file.
#include <QFile>
#include <QMouseEvent>
#include <QTest>

#include "editortest.h"
#include "placementbox.h"

namespace {

QStringList ReadLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {"<cannot read " + path + ">"};
    return QString::fromLatin1(f.readAll()).split("\r\n");
}

class ListsEndToEnd : public GuiTest {};

TEST_F(ListsEndToEnd, SampleScriptEditedThroughTheThreeEditors) {
    frmFrontend& window = StartMain();
    prompter.openReplies << ExamplesDir() + "/tvk_scout.ship";
    window.OpenDocument();
    ASSERT_TRUE(window.ShipFile);
    ASSERT_EQ(prompter.messages.last(), "tvk_scout.ship opened succesfully.");

    // A third weapon, from the sample data directory's weapon folder.
    window.findChild<QPushButton*>("cmdWeapons")->click();
    QDialog* weapons = window.OpenSheet();
    ASSERT_NE(weapons, nullptr);
    auto* weapon = weapons->findChild<QComboBox*>("cboWeapon");
    const int arclance = weapon->findText("tvk_arclance");
    ASSERT_GE(arclance, 94);
    weapon->setCurrentIndex(arclance);
    weapons->findChild<QComboBox*>("cboHardPoint")->setCurrentText("Weapon_Right");
    weapons->findChild<QComboBox*>("cboFiringEffect")->setCurrentText("Fire_Right");
    weapons->findChild<QPushButton*>("cmdAdd")->click();
    weapons->findChild<QPushButton*>("cmdOK")->click();
    ASSERT_TRUE(window.isEnabled());

    // The chunk at X 0, Y 10 (a scale of 100, one unit per pixel) placed at X 30, Y 40.
    window.findChild<QPushButton*>("cmdSalvageChunks")->click();
    QDialog* salvage = window.OpenSheet();
    ASSERT_NE(salvage, nullptr);
    salvage->findChild<QListWidget*>("lstChunks")->setCurrentRow(0);
    auto* box = salvage->findChild<PlacementBox*>("PlacementBox");
    ASSERT_EQ(box->Scale(), 100);
    const QPointF at = box->ToWidget({30, -40});
    QMouseEvent press(QEvent::MouseButtonPress, at, box->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(box, &press);
    ASSERT_EQ(salvage->findChild<QLineEdit*>("txtPosition(1)")->text(), "40");
    salvage->findChild<QPushButton*>("cmdOK")->click();
    ASSERT_TRUE(window.isEnabled());

    // GuardCommand, active by default, with its guard radius typed in.
    window.findChild<QPushButton*>("cmdEditAbilities")->click();
    QDialog* abilities = window.OpenSheet();
    ASSERT_NE(abilities, nullptr);
    auto* possible = abilities->findChild<QListWidget*>("lstPA");
    possible->setCurrentItem(possible->findItems("GuardCommand", Qt::MatchExactly).value(0));
    abilities->findChild<QPushButton*>("cmdAdd")->click();
    auto* current = abilities->findChild<QListWidget*>("lstCA");
    current->setCurrentItem(current->findItems("GuardCommand", Qt::MatchExactly).value(0));
    abilities->findChild<QComboBox*>("cboIsActive")->setCurrentIndex(1);
    auto* radius = abilities->findChild<QLineEdit*>("Value(0)");
    radius->selectAll();
    QTest::keyClicks(radius, "1500");
    abilities->findChild<QPushButton*>("cmdOK")->click();
    ASSERT_TRUE(window.isEnabled());

    const QString out = temp.filePath("tvk_scout_lists.ship");
    prompter.saveReplies << out;
    window.SaveDocumentAs();
    ASSERT_EQ(prompter.messages.last(),
              "Successfully saved to the file '" + QDir::toNativeSeparators(out) + "'.");

    const QStringList written = ReadLines(out);
    const QStringList expected = ReadLines(QStringLiteral(TARVISK_EDITORS_TEST_DATA) +
                                           "/tvk_scout_lists.ship");
    if (written != expected) {
        const QString kept = QDir::temp().filePath("tvk_scout_lists.actual.ship");
        QFile::remove(kept);
        QFile::copy(out, kept);
        for (int i = 0; i < std::max(written.size(), expected.size()); ++i) {
            if (written.value(i) != expected.value(i)) {
                ADD_FAILURE() << "line " << i + 1 << ": written '" << written.value(i).toStdString()
                              << "', expected '" << expected.value(i).toStdString()
                              << "' (the written file is kept as " << kept.toStdString() << ")";
                break;
            }
        }
    }
}

}  // namespace
