#include "frmfrontend.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QGridLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSettings>

#include "appinfo.h"
#include "appsettings.h"
#include "frmabout.h"
#include "frmdecompileddatadir.h"
#include "frmpreferences.h"
#include "numbers.h"
#include "prompter.h"
#include "sheetbuttons.h"
#include "textconv.h"

namespace {

const QString kShipDialogTitle = QStringLiteral("Open Ship File");  // Save As uses it too
const QString kShipFilter = QStringLiteral("SR2 Ship Files (*.ship)");
const QString kShipSuffix = QStringLiteral("ship");

QString NativeLocal(const std::string& path) {
    return QDir::toNativeSeparators(FromLocal(CustomFSO::NativePath(path)));
}

}  // namespace

frmFrontend::frmFrontend(Prompter* prompter, QSettings* settings, QString logFolder,
                         QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), settings_(settings),
      logFolder_(std::move(logFolder)) {
    setObjectName("frmFrontend");
    if (!prompter_) {
        ownPrompter_ = std::make_unique<DialogPrompter>();
        prompter_ = ownPrompter_.get();
    }
    if (!settings_) {
        ownSettings_ = appsettings::OpenUserStore();
        settings_ = ownSettings_.get();
    }
    if (logFolder_.isEmpty()) logFolder_ = QCoreApplication::applicationDirPath();

    title_ = appinfo::WindowTitle();
    setWindowTitle(title_);
    setWindowIcon(appinfo::ProgramIcon());
    createActions();
    createMenus();
    createButtons();
    setDocumentState(false, title_);

    readSettings();
    // CFSO is a member, so it exists from here on. A missing data directory is only reported: the
    // program stays usable and the Settings menu is the way out.
    if (!checkDataDir()) showDataDirMessage();
}

frmFrontend::~frmFrontend() {
    // A sheet still open is closed while this window is whole, so that its handlers and the
    // re-enabling find a complete main window and document.
    delete openSheet_.data();
}

void frmFrontend::createActions() {
    struct ActionRow {
        QAction** slot;
        const char* objectName;
        const char* caption;
        QKeySequence shortcut;
        bool enabled;
        void (frmFrontend::*handler)();
    };
    auto showDataDir = &frmFrontend::ShowDecompiledDataDir;
    const ActionRow rows[] = {
        {&newAction_, "New", "&New", QKeySequence(Qt::CTRL | Qt::Key_N), true,
         &frmFrontend::NewDocument},
        {&openAction_, "Open", "&Open", QKeySequence(Qt::CTRL | Qt::Key_O), true,
         &frmFrontend::OpenDocument},
        {&saveAction_, "Save", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), false, nullptr},
        {&saveAsAction_, "SaveAs", "Save &As ...", {}, false, &frmFrontend::SaveDocumentAs},
        {&exitAction_, "Exit", "E&xit", {}, true, &frmFrontend::ExitProgram},
        {&decompiledDataAction_, "DecompiledData", "&Decompiled Data", {}, true, showDataDir},
        {&preferencesAction_, "Preferences", "&Preferences", QKeySequence(Qt::CTRL | Qt::Key_P),
         true, &frmFrontend::ShowPreferences},
        {&readMeAction_, "ReadMe", "&ReadMe", {}, false, nullptr},
        {&aboutAction_, "About", "&About Tarvisk...", {}, true, &frmFrontend::ShowAbout},
    };
    for (const ActionRow& row : rows) {
        auto* action = new QAction(QString::fromLatin1(row.caption), this);
        action->setObjectName(row.objectName);
        action->setShortcut(row.shortcut);
        action->setEnabled(row.enabled);
        if (row.handler) connect(action, &QAction::triggered, this, row.handler);
        *row.slot = action;
    }
}

void frmFrontend::createMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName("File");
    file->addAction(newAction_);
    file->addAction(openAction_);
    file->addAction(saveAction_);
    file->addAction(saveAsAction_);
    file->addSeparator();
    file->addAction(exitAction_);

    QMenu* settingsMenu = menuBar()->addMenu(tr("&Settings"));
    settingsMenu->setObjectName("Settings");
    QMenu* directories = settingsMenu->addMenu(tr("Manage &Directories"));
    directories->setObjectName("ManageDirectories");
    directories->addAction(decompiledDataAction_);
    settingsMenu->addAction(preferencesAction_);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName("Help");
    help->addAction(readMeAction_);
    help->addSeparator();
    help->addAction(aboutAction_);
}

void frmFrontend::createButtons() {
    auto* central = new QWidget(this);
    central->setObjectName("centralWidget");
    auto* grid = new QGridLayout(central);
    constexpr int kColumns = 3;
    int index = 0;
    std::vector<QPushButton*> all;
    auto place = [&](QPushButton* button) {
        button->setEnabled(false);
        grid->addWidget(button, index / kColumns, index % kColumns);
        all.push_back(button);
        ++index;
    };
    for (const SheetButton& row : SheetButtons()) {
        auto* button = new QPushButton(QString::fromLatin1(row.caption), central);
        button->setObjectName(row.objectName);
        if (SheetFactory factory = row.factory) {
            connect(button, &QPushButton::clicked, this,
                    [this, factory] { ShowSheet([this, factory] { return factory(*this); }); });
        }
        sheetButtons_.push_back(button);
        place(button);
    }
    // Hardpoints has no sheet yet; the button shows where it will go.
    auto* hardpoints = new QPushButton(tr("Hardpoints"), central);
    hardpoints->setObjectName("cmdHardpoints");
    place(hardpoints);

    // One size for every button, with room round the longest caption, so the grid reads as a
    // panel of equals rather than columns of different widths.
    QSize size;
    for (QPushButton* button : all) size = size.expandedTo(button->sizeHint());
    size += QSize(fontMetrics().averageCharWidth() * 4, size.height() / 2);
    for (QPushButton* button : all) button->setMinimumSize(size);

    setCentralWidget(central);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void frmFrontend::readSettings() {
    strDataDir = appsettings::ReadDataDir(*settings_);
    intDefWep = appsettings::ReadPreference(*settings_, appsettings::kLoadDefaultWeapons);
    intDefFam = appsettings::ReadPreference(*settings_, appsettings::kLoadDefaultFamilies);
}

void frmFrontend::setDocumentState(bool open, const QString& caption) {
    for (QPushButton* button : sheetButtons_) button->setEnabled(open);
    saveAsAction_->setEnabled(open);
    setWindowTitle(caption);
}

bool frmFrontend::checkDataDir() { return CFSO.FolderExists(ToLocal(strDataDir)); }

void frmFrontend::showDataDirMessage() {
    prompter_->Message(this, "The directory '" + strDataDir +
                                 "' does not exist, please use the Settings menu " +
                                 "to select your SR2 Data Directory.");
}

QDialog* frmFrontend::ShowSheet(const std::function<QDialog*()>& make) {
    // Disabled before the window exists: a child window created afterwards keeps its own
    // enabled state, so the sheet stays usable while this window is not.
    setEnabled(false);
    QDialog* sheet = make ? make() : nullptr;
    if (!sheet) {
        setEnabled(true);
        return nullptr;
    }
    if (sheet->parentWidget() != this) {
        // A window made without this parent would fall behind the main window and outlive it.
        // Taking a disabled parent disables a widget, so it is enabled again as a window of its own.
        sheet->setParent(this, sheet->windowFlags() | Qt::Window);
        sheet->setEnabled(true);
    }
    sheet->setAttribute(Qt::WA_DeleteOnClose);
    // OK, Cancel and the close box all end in finished(); destroyed() covers a sheet deleted
    // without being closed.
    auto enable = [this] { setEnabled(true); };
    connect(sheet, &QDialog::finished, this, enable);
    connect(sheet, &QObject::destroyed, this, enable);
    openSheet_ = sheet;

    const QRect frame = frameGeometry();
    sheet->move(frame.x() + frame.width(), frame.y());
    sheet->show();
    return sheet;
}

void frmFrontend::ShowDecompiledDataDir() {
    ShowSheet([this] { return new frmDecompiledDataDir(*this); });
}

void frmFrontend::ShowPreferences() {
    ShowSheet([this] { return new frmPreferences(*this); });
}

void frmFrontend::ShowAbout() {
    ShowSheet([this] { return new frmAbout(*this); });
}

// Ends the program at once, without asking: unsaved changes are lost. Closing the main window
// quits the application; an open sheet, being its child, does not keep it running.
void frmFrontend::ExitProgram() { close(); }

void frmFrontend::NewDocument() {
    ShipFile = std::make_unique<SR2ShipFile>();
    ShipFile->SetLogFolder(ToLocal(logFolder_));
    ShipFile->Initialize();
    setDocumentState(true, title_ + " - New.ship");
}

void frmFrontend::OpenDocument() {
    if (!checkDataDir()) {
        showDataDirMessage();
        return;
    }
    FileIN = prompter_->OpenFile(this, kShipDialogTitle, NativeLocal(ToLocal(strDataDir)),
                                 kShipFilter, kShipSuffix);
    if (FileIN.isEmpty()) return;  // cancelled: nothing else changes
    FileIN = QDir::toNativeSeparators(FileIN);

    ShipFile = std::make_unique<SR2ShipFile>();
    ShipFile->SetLogFolder(ToLocal(logFolder_));
    const std::int16_t result = ShipFile->OpenShipFile(ToLocal(FileIN));
    const QString fileName = FromLocal(CFSO.GetFileName(ToLocal(FileIN)));

    if (result == 0) {
        setDocumentState(true, title_ + " - " + fileName);
        const int errors = ShipFile->ErrorCount();
        if (errors > 0) {
            const std::string& log = ShipFile->ErrorLogPath();
            prompter_->Message(this, fileName + " opened, but " +
                                         FromLocal(numbers::FormatInteger(errors)) +
                                         " line(s) could not be read. " +
                                         (log.empty() ? QString("The logs could not be written; they")
                                                      : "They are listed in '" + NativeLocal(log) + "' and") +
                                         " will be written back unchanged.");
        } else {
            prompter_->Message(this, fileName + " opened succesfully.");
        }
        return;
    }

    // A failed Open leaves no document behind.
    ShipFile.reset();
    setDocumentState(false, title_);
    if (result == 1)
        prompter_->Message(this, "The program thinks the file " + fileName + " does not exist.");
    else
        prompter_->Message(this, "An unknown error ocurred while opening the *.ship file.");
}

void frmFrontend::SaveDocumentAs() {
    if (!ShipFile) return;  // the menu item is disabled then
    if (!checkDataDir()) {
        showDataDirMessage();
        return;
    }
    const QString chosen = prompter_->SaveFile(this, kShipDialogTitle,
                                               NativeLocal(ToLocal(strDataDir)), kShipFilter,
                                               kShipSuffix);
    if (chosen.isEmpty()) return;  // cancelled: no message
    FileOUT = QDir::toNativeSeparators(chosen);

    const Result written = ShipFile->WriteShipFile(ToLocal(FileOUT));
    if (written.ok) {
        prompter_->Message(this, "Successfully saved to the file '" + FileOUT + "'.");
        return;
    }
    QString reason = FromLocal(written.reason);
    while (reason.endsWith('.')) reason.chop(1);  // the message adds its own full stop
    if (reason.isEmpty()) reason = QStringLiteral("the file could not be written");
    prompter_->Message(this, "The file '" + FileOUT + "' could not be saved: " + reason + ".");
}
