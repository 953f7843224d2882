#include "prompter.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "appinfo.h"

void DialogPrompter::Message(QWidget* parent, const QString& text, MessageKind kind) {
    static constexpr QMessageBox::Icon kIcons[] = {QMessageBox::Information, QMessageBox::Warning,
                                                   QMessageBox::Critical};
    QMessageBox box(kIcons[static_cast<int>(kind)], appinfo::ProgramName(), text, QMessageBox::Ok,
                    parent);
    box.setObjectName("MessageBox");
    box.exec();
}

namespace {

QString RunFileDialog(QWidget* parent, QFileDialog::AcceptMode mode, const QString& title,
                      const QString& directory, const QString& filter, const QString& suffix) {
    QFileDialog dialog(parent, title, directory, filter);
    dialog.setObjectName("cdgFrontend");
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(suffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

}  // namespace

QString DialogPrompter::OpenFile(QWidget* parent, const QString& title, const QString& directory,
                                 const QString& filter, const QString& defaultSuffix) {
    return RunFileDialog(parent, QFileDialog::AcceptOpen, title, directory, filter, defaultSuffix);
}

QString DialogPrompter::SaveFile(QWidget* parent, const QString& title, const QString& directory,
                                 const QString& filter, const QString& defaultSuffix) {
    return RunFileDialog(parent, QFileDialog::AcceptSave, title, directory, filter, defaultSuffix);
}

QString DialogPrompter::ChooseFolder(QWidget* parent, const QString& title,
                                     const QString& directory) {
    QString chosen = QFileDialog::getExistingDirectory(parent, title, directory);
    return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen);
}

Prompter::SaveAnswer DialogPrompter::AskSaveChanges(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, appinfo::ProgramName(), text,
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setObjectName("SaveChangesBox");
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Save: return SaveAnswer::Save;
    case QMessageBox::Discard: return SaveAnswer::Discard;
    default: return SaveAnswer::Cancel;
    }
}

int DialogPrompter::Choose(QWidget* parent, const QString& text, const QStringList& buttons) {
    QMessageBox box(QMessageBox::Question, appinfo::ProgramName(), text, QMessageBox::NoButton, parent);
    box.setObjectName("ChoiceBox");
    QList<QAbstractButton*> added;
    for (const QString& caption : buttons)
        added << box.addButton(caption, added.isEmpty() ? QMessageBox::AcceptRole : QMessageBox::RejectRole);
    if (!added.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton*>(added.front()));
        box.setEscapeButton(added.back());
    }
    box.exec();
    const int at = static_cast<int>(added.indexOf(box.clickedButton()));
    return at >= 0 ? at : static_cast<int>(buttons.size()) - 1;
}
