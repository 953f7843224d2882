#include "frmfrontend.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QStatusBar>
#include <QUndoStack>
#include <QDialog>
#include <QDir>
#include <QDockWidget>
#include <QGuiApplication>
#include <QGridLayout>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QSettings>

#include "appinfo.h"
#include "appsettings.h"
#include "frmabout.h"
#include "frmdecompileddatadir.h"
#include "frmpreferences.h"
#include "numbers.h"
#include "problemsview.h"
#include "prompter.h"
#include "sheetcontext.h"
#include "steptext.h"
#include "textconv.h"
#include "windowfit.h"
#include "windowplacement.h"

namespace {

const QString kShipDialogTitle = QStringLiteral("Open Ship File");  // Save As uses it too
const QString kShipFilter = QStringLiteral("SR2 Ship Files (*.ship)");
const QString kShipSuffix = QStringLiteral("ship");
// The recent files have a section of their own in the settings store.
const QString kRecentKey = QStringLiteral("RecentFiles/Files");
constexpr int kRecentCount = 10;

QString NativeLocal(const std::string& path) {
    return QDir::toNativeSeparators(FromLocal(CustomFSO::NativePath(path)));
}

}  // namespace

frmFrontend::frmFrontend(std::span<const SheetButton> sheetButtons, Prompter* prompter,
                         QSettings* settings, QString logFolder, QWidget* parent)
    : QMainWindow(parent), sheetTable_(sheetButtons), prompter_(prompter), settings_(settings),
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
    filePathLabel_ = new QLabel(this);
    filePathLabel_->setObjectName("FilePath");
    statusBar()->addPermanentWidget(filePathLabel_, 1);
    setAcceptDrops(true);
    createEntriesAndProblems();
    setDocumentState(false, title_);
    updateRecentMenu();

    readSettings();
    windowfit::MakeFixedSize(*this);
    placeAtStart();
    // CFSO is a member, so it exists from here on. A missing data directory is only reported: the
    // program stays usable and the Settings menu is the way out.
    if (!checkDataDir()) showDataDirMessage();
}

frmFrontend::~frmFrontend() {
    // A sheet still open is closed while this window is whole, so that its handlers and the
    // re-enabling find a complete main window and document.
    delete openSheet_.data();
    // The next run starts where this one ended; a window never shown has no place to remember.
    if (shownOnce_) appsettings::WriteMainWindowPosition(*settings_, frameGeometry().topLeft());
}

void frmFrontend::placeAtStart() {
    QList<QRect> screens;
    if (QScreen* primary = QGuiApplication::primaryScreen()) screens << primary->availableGeometry();
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen()) screens << screen->availableGeometry();
    // The frame is not known before the window is shown; the usual title bar and borders are
    // close enough for keeping the window on the screen.
    const QSize frame = size() + QSize(2 * kGuessedBorder, kGuessedTitleBar + kGuessedBorder);
    move(placement::MainWindowPosition(frame, appsettings::ReadMainWindowPosition(*settings_),
                                       screens));
}

void frmFrontend::showEvent(QShowEvent* event) {
    shownOnce_ = true;
    QMainWindow::showEvent(event);
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
        {&saveAction_, "Save", "&Save", QKeySequence(Qt::CTRL | Qt::Key_S), false,
         &frmFrontend::SaveDocument},
        {&saveAsAction_, "SaveAs", "Save &As ...", {}, false, &frmFrontend::SaveDocumentAs},
        {&exitAction_, "Exit", "E&xit", {}, true, &frmFrontend::ExitProgram},
        {&undoAction_, "Undo", "&Undo", QKeySequence(Qt::CTRL | Qt::Key_Z), false, nullptr},
        {&redoAction_, "Redo", "&Redo", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), false,
         nullptr},
        {&clearRecentAction_, "ClearRecent", "Clear List", {}, true, &frmFrontend::clearRecent},
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
    redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                               QKeySequence(Qt::CTRL | Qt::Key_Y)});
    connect(undoAction_, &QAction::triggered, this, [this] {
        if (session_) session_->UndoStack().undo();
    });
    connect(redoAction_, &QAction::triggered, this, [this] {
        if (session_) session_->UndoStack().redo();
    });
}

void frmFrontend::createMenus() {
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName("File");
    file->addAction(newAction_);
    file->addAction(openAction_);
    recentMenu_ = file->addMenu(tr("Open &Recent"));
    recentMenu_->setObjectName("OpenRecent");
    file->addAction(saveAction_);
    file->addAction(saveAsAction_);
    file->addSeparator();
    file->addAction(exitAction_);

    editMenu_ = menuBar()->addMenu(tr("&Edit"));
    editMenu_->setObjectName("Edit");
    editMenu_->addAction(undoAction_);
    editMenu_->addAction(redoAction_);
    // The document's own commands (Other Entries) follow here, below a separator.

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
    for (const SheetButton& row : sheetTable_) {
        auto* button = new QPushButton(QString::fromLatin1(row.caption), central);
        button->setObjectName(row.objectName);
        if (SheetFactory factory = row.factory) {
            const QString step = QString::fromLatin1(row.caption);
            connect(button, &QPushButton::clicked, this, [this, factory, button, step] {
                QDialog* sheet = ShowSheet(
                    [this, factory] {
                        return factory(SheetContext{session_.get(), prompter_, strDataDir, this});
                    },
                    button);
                recordStep(sheet, step);
            });
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
}

void frmFrontend::readSettings() {
    strDataDir = appsettings::ReadDataDir(*settings_);
    intDefWep = appsettings::ReadPreference(*settings_, appsettings::kLoadDefaultWeapons);
    intDefFam = appsettings::ReadPreference(*settings_, appsettings::kLoadDefaultFamilies);
}

void frmFrontend::setDocumentState(bool open, const QString& caption) {
    for (QPushButton* button : sheetButtons_) button->setEnabled(open);
    saveAction_->setEnabled(open);
    saveAsAction_->setEnabled(open);
    if (otherEntriesAction_) otherEntriesAction_->setEnabled(open);
    RefreshProblems();
    // "[*]" is where Qt shows the modified marker: an asterisk while the document has changes.
    setWindowTitle(open ? caption + "[*]" : caption);
    updateModified();
    updateUndoActions();
    showFilePath();
}

ShipDocument* frmFrontend::Document() { return session_ ? &session_->Document() : nullptr; }

void frmFrontend::updateModified() { setWindowModified(session_ && session_->IsModified()); }

void frmFrontend::startSession(std::unique_ptr<ShipSession> session, const QString& name) {
    session_ = std::move(session);
    ShipFile = &session_->Ship();
    changePending_ = false;
    ShipSession* s = session_.get();
    connect(s, &ShipSession::modifiedChanged, this, &frmFrontend::updateModified);
    connect(s, &ShipSession::shipReplaced, this, [this] { ShipFile = &session_->Ship(); });
    connect(s, &ShipSession::changedOnDisk, this, &frmFrontend::onChangedOnDisk);
    QUndoStack* stack = &s->UndoStack();
    connect(stack, &QUndoStack::indexChanged, this, &frmFrontend::updateUndoActions);
    connect(stack, &QUndoStack::cleanChanged, this, &frmFrontend::updateUndoActions);
    documentName_ = name;
    setDocumentState(true, title_ + " - " + name);
}

void frmFrontend::recordStep(QDialog* sheet, const QString& sheetName) {
    // Whatever the sheet's OK changed is one step to undo, named after what the sheet did when it
    // says so (a list editor: "Remove Weapon"), else after the sheet.
    if (!sheet || !session_) return;
    connect(sheet, &QDialog::finished, session_.get(), [s = session_.get(), sheet, sheetName] {
        const QString named = sheet->property(kStepTextProperty).toString();
        s->Commit(named.isEmpty() ? sheetName : named);
    });
}

void frmFrontend::updateUndoActions() {
    QUndoStack* stack = session_ ? &session_->UndoStack() : nullptr;
    const bool canUndo = stack && stack->canUndo();
    const bool canRedo = stack && stack->canRedo();
    undoAction_->setEnabled(canUndo);
    redoAction_->setEnabled(canRedo);
    undoAction_->setText(canUndo ? tr("&Undo %1").arg(stack->undoText()) : tr("&Undo"));
    redoAction_->setText(canRedo ? tr("&Redo %1").arg(stack->redoText()) : tr("&Redo"));
    updateModified();
}

void frmFrontend::showFilePath() {
    // The caption names the file only; two mods' files of one name are told apart by the full
    // path, in the status bar and as the window's file path (the title's tooltip where the
    // platform shows one).
    const QString path = session_ && session_->Document().HasFile()
                             ? NativeLocal(session_->Document().FilePath())
                             : QString();
    setWindowFilePath(path);
    filePathLabel_->setText(path);
}

void frmFrontend::onChangedOnDisk() {
    // While a sheet is open its values are the user's work in progress: the change waits until
    // the sheet is closed.
    if (openSheet_ && openSheet_->isVisible()) {
        changePending_ = true;
        return;
    }
    handleChangeOnDisk();
}

void frmFrontend::handleChangeOnDisk() {
    changePending_ = false;
    if (!session_ || !session_->ChangedOnDisk()) return;
    if (!session_->Document().HashOnDisk()) return;  // gone: Save writes it again
    if (session_->IsModified()) {
        const QString question = "The ship file " + documentName_ +
                                 " has been changed by another program. Reload it and lose your "
                                 "changes, or keep your version?";
        if (prompter_->Choose(this, question, {tr("Reload"), tr("Keep")}) != 0) return;
    }
    reloadDocument();
}

void frmFrontend::reloadDocument() {
    const QString path = NativeLocal(session_->Document().FilePath());
    if (session_->Reload() != 0) {
        prompter_->Message(this, "The ship file '" + path + "' could not be read again.",
                           MessageKind::Error);
        return;
    }
    ShipFile = &session_->Ship();
    updateUndoActions();
    statusBar()->showMessage(tr("Reloaded %1: another program changed it.").arg(documentName_));
}

bool frmFrontend::confirmOverwrite() {
    if (!session_ || !session_->Document().HasFile() || !session_->ChangedOnDisk()) return true;
    if (!session_->Document().HashOnDisk()) return true;  // gone: nothing to lose by writing
    const QString question = "The ship file " + documentName_ +
                             " has been changed by another program since it was read. Overwrite "
                             "it with your version, reload it, or cancel?";
    switch (prompter_->Choose(this, question, {tr("Overwrite"), tr("Reload"), tr("Cancel")})) {
    case 0: return true;
    case 1: reloadDocument(); return false;
    default: return false;
    }
}

QStringList frmFrontend::RecentFiles() const { return settings_->value(kRecentKey).toStringList(); }

void frmFrontend::rememberRecent(const QString& path) {
    QStringList files = RecentFiles();
    files.removeAll(path);
    files.prepend(path);
    while (files.size() > kRecentCount) files.removeLast();
    settings_->setValue(kRecentKey, files);
    updateRecentMenu();
}

void frmFrontend::clearRecent() {
    settings_->remove(kRecentKey);
    updateRecentMenu();
}

void frmFrontend::updateRecentMenu() {
    recentMenu_->clear();
    const QStringList files = RecentFiles();
    int n = 0;
    for (const QString& path : files) {
        ++n;
        QAction* action = recentMenu_->addAction(
            (n < 10 ? "&" + QString::number(n) : QString::number(n)) + "  " + path);
        action->setObjectName("RecentFile" + QString::number(n));
        connect(action, &QAction::triggered, this, [this, path] { OpenRecent(path); });
    }
    recentMenu_->addSeparator();
    recentMenu_->addAction(clearRecentAction_);
    recentMenu_->setEnabled(true);
    clearRecentAction_->setEnabled(!files.isEmpty());
}

void frmFrontend::OpenRecent(const QString& path) {
    if (!QFileInfo(path).isFile()) {
        QStringList files = RecentFiles();
        files.removeAll(path);
        settings_->setValue(kRecentKey, files);
        updateRecentMenu();
        prompter_->Message(this, "The file '" + path +
                                     "' no longer exists; it has been removed from the list.",
                           MessageKind::Warning);
        return;
    }
    if (!maybeSave()) return;
    OpenScript(path);
}

void frmFrontend::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile() &&
        urls.front().toLocalFile().endsWith(".ship", Qt::CaseInsensitive))
        event->acceptProposedAction();
}

void frmFrontend::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) return;
    event->acceptProposedAction();
    const QString path = urls.front().toLocalFile();
    if (!maybeSave()) return;
    OpenScript(path);
}

bool frmFrontend::maybeSave() {
    updateModified();
    if (!isWindowModified()) return true;
    const QString question = "The ship file " + documentName_ +
                             " has been changed. Do you want to save the changes?";
    switch (prompter_->AskSaveChanges(this, question)) {
    case Prompter::SaveAnswer::Save: return save();
    case Prompter::SaveAnswer::Discard: return true;
    case Prompter::SaveAnswer::Cancel: break;
    }
    return false;
}

void frmFrontend::closeEvent(QCloseEvent* event) {
    if (maybeSave())
        event->accept();
    else
        event->ignore();
}

bool frmFrontend::checkDataDir() { return CFSO.FolderExists(ToLocal(strDataDir)); }

void frmFrontend::showDataDirMessage() {
    prompter_->Message(this, "The directory '" + strDataDir +
                                 "' does not exist, please use the Settings menu " +
                                 "to select your SR2 Data Directory.",
                       MessageKind::Warning);
}

QDialog* frmFrontend::ShowSheet(const std::function<QDialog*()>& make, QWidget* returnFocusTo) {
    const QPointer<QWidget> focusBefore = focusWidget();
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
    // Whatever the sheet stored shows in the caption's modified marker.
    connect(sheet, &QDialog::finished, this, &frmFrontend::updateModified);
    connect(sheet, &QDialog::finished, this, &frmFrontend::RefreshProblems);
    // A change on disk seen while the sheet was open is dealt with now.
    connect(sheet, &QDialog::finished, this, [this] {
        if (changePending_) QMetaObject::invokeMethod(this, &frmFrontend::handleChangeOnDisk, Qt::QueuedConnection);
    });
    connect(sheet, &QObject::destroyed, this, enable);
    openSheet_ = sheet;

    // Focus goes back where it was (the button that opened the sheet) once the sheet closes.
    QPointer<QWidget> returnTo = returnFocusTo ? returnFocusTo : focusBefore.data();
    connect(sheet, &QDialog::finished, this, [this, returnTo] {
        if (!returnTo || !returnTo->isEnabled()) return;
        activateWindow();
        returnTo->setFocus(Qt::OtherFocusReason);
    });

    // On the screen whatever its size: the sheet scrolls when it is taller than the screen, and
    // goes beside the main window where there is room for it.
    const QRect available = placement::AvailableArea(*this);
    QMargins decorations = placement::Decorations(*sheet, this);
    // Taken from this fixed-size window, they lack the resize grip some window managers draw
    // below a window that can be resized.
    if (sheet->minimumSize() != sheet->maximumSize())
        decorations.setBottom(decorations.bottom() + kGuessedResizeGrip);
    windowfit::FitHeight(*sheet, available, decorations);
    if (!sheet->testAttribute(Qt::WA_Resized)) sheet->adjustSize();
    const QSize frameSize = sheet->size().grownBy(decorations);
    sheet->move(placement::SheetPosition(frameGeometry(), frameSize, available));
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

// Closing the main window quits the application (an open sheet, being its child, does not keep
// it running); closeEvent first asks about unsaved changes.
void frmFrontend::ExitProgram() { close(); }

void frmFrontend::NewDocument() {
    if (!maybeSave()) return;
    startSession(std::make_unique<ShipSession>(ToLocal(logFolder_)), QStringLiteral("New.ship"));
}

void frmFrontend::OpenDocument() {
    if (!checkDataDir()) {
        showDataDirMessage();
        return;
    }
    if (!maybeSave()) return;
    FileIN = prompter_->OpenFile(this, kShipDialogTitle, NativeLocal(ToLocal(strDataDir)),
                                 kShipFilter, kShipSuffix);
    if (FileIN.isEmpty()) return;  // cancelled: nothing else changes
    OpenScript(FileIN);
}

void frmFrontend::OpenScript(const QString& path) {
    FileIN = QDir::toNativeSeparators(path);

    auto session = std::make_unique<ShipSession>(ToLocal(logFolder_));
    const std::int16_t result = session->Open(ToLocal(FileIN));
    const QString fileName = FromLocal(CFSO.GetFileName(ToLocal(FileIN)));
    // A compiled script or a binary file is no script to open: the document that was open stays.
    if (const std::string& notText = session->NotTextReason(); result == 2 && !notText.empty()) {
        prompter_->Message(this, "'" + fileName + "' " + FromLocal(notText) + ".", MessageKind::Error);
        return;
    }

    if (result == 0) {
        startSession(std::move(session), fileName);
        rememberRecent(QDir::toNativeSeparators(QFileInfo(FileIN).absoluteFilePath()));
        const int errors = ShipFile->ErrorCount();
        if (errors > 0) {
            const std::string& log = ShipFile->ErrorLogPath();
            prompter_->Message(this, fileName + " opened, but " +
                                         FromLocal(numbers::FormatInteger(errors)) +
                                         " line(s) could not be read. " +
                                         (log.empty() ? QString("The logs could not be written; they")
                                                      : "They are listed in '" + NativeLocal(log) + "' and") +
                                         " will be written back unchanged.",
                               MessageKind::Warning);
        } else if (!ShipFile->HasStartShipConfig()) {
            prompter_->Message(this, fileName + " opened, but it has no StartShipConfig line: it may be no ship script.",
                               MessageKind::Warning);
        } else {
            prompter_->Message(this, fileName + " opened succesfully.");
        }
        return;
    }

    // A failed Open leaves no document behind; the Problems dock says why.
    const std::string why = result == 1 ? std::string("it does not exist") : session->OpenFailure();
    ShipFile = nullptr;
    session_.reset();
    documentName_.clear();
    setDocumentState(false, title_);
    if (result == 1)
        prompter_->Message(this, "The program thinks the file " + fileName + " does not exist.",
                           MessageKind::Error);
    else
        prompter_->Message(this, "An unknown error ocurred while opening the *.ship file.",
                           MessageKind::Error);
    problemsView_->SetProblems({FileProblem(ToLocal(fileName), why.empty() ? "it cannot be read" : why)});
}

void frmFrontend::SaveDocument() { save(); }

void frmFrontend::SaveDocumentAs() { saveAs(); }

bool frmFrontend::save() {
    ShipDocument* doc = Document();
    if (!doc) return false;  // the menu item is disabled then
    if (!doc->HasFile()) return saveAs();
    if (!confirmOverwrite()) return false;
    const QString path = NativeLocal(doc->FilePath());
    const Result written = session_->Save();
    updateModified();
    RefreshProblems();
    if (!written.ok) {
        showSaveFailure(path, written);
        return false;
    }
    showSaved(path);
    return true;
}

bool frmFrontend::saveAs() {
    ShipDocument* doc = Document();
    if (!doc) return false;  // the menu item is disabled then
    if (!checkDataDir()) {
        showDataDirMessage();
        return false;
    }
    const QString chosen = prompter_->SaveFile(this, kShipDialogTitle,
                                               NativeLocal(ToLocal(strDataDir)), kShipFilter,
                                               kShipSuffix);
    if (chosen.isEmpty()) return false;  // cancelled: no message
    FileOUT = QDir::toNativeSeparators(chosen);
    // Save As onto the session's own file is a Save over it: the same question first.
    if (doc->HasFile() && QFileInfo(FileOUT) == QFileInfo(NativeLocal(doc->FilePath())) &&
        !confirmOverwrite())
        return false;

    const Result written = session_->SaveAs(ToLocal(FileOUT));
    if (!written.ok) {
        showSaveFailure(FileOUT, written);
        return false;
    }
    // Save goes on with the file just written, so the caption names it.
    documentName_ = FromLocal(CFSO.GetFileName(ToLocal(FileOUT)));
    setDocumentState(true, title_ + " - " + documentName_);  // the problems of the new file too
    rememberRecent(QDir::toNativeSeparators(QFileInfo(FileOUT).absoluteFilePath()));
    showSaved(FileOUT);
    return true;
}

void frmFrontend::showSaved(const QString& path) {
    prompter_->Message(this, "Successfully saved to the file '" + path + "'.");
}

void frmFrontend::showSaveFailure(const QString& path, const Result& written) {
    QString reason = FromLocal(written.reason);
    while (reason.endsWith('.')) reason.chop(1);  // the message adds its own full stop
    if (reason.isEmpty()) reason = QStringLiteral("the file could not be written");
    prompter_->Message(this, "The file '" + path + "' could not be saved: " + reason + ".",
                       MessageKind::Error);
}

// ----- Other Entries and the Problems dock -----

namespace {

// Answers nothing and shows nothing: sheets made only to learn which fields they hold must not
// speak to the user.
class SilentPrompter : public Prompter {
public:
    void Message(QWidget*, const QString&, MessageKind) override {}
    QString OpenFile(QWidget*, const QString&, const QString&, const QString&, const QString&) override { return {}; }
    QString SaveFile(QWidget*, const QString&, const QString&, const QString&, const QString&) override { return {}; }
    QString ChooseFolder(QWidget*, const QString&, const QString&) override { return {}; }
    SaveAnswer AskSaveChanges(QWidget*, const QString&) override { return SaveAnswer::Cancel; }
    int Choose(QWidget*, const QString&, const QStringList& buttons) override { return static_cast<int>(buttons.size()) - 1; }
};

}  // namespace

frmFrontend::OtherEntriesFactory frmFrontend::otherEntriesFactory_ = nullptr;

void frmFrontend::SetOtherEntriesFactory(OtherEntriesFactory factory) { otherEntriesFactory_ = factory; }

void frmFrontend::createEntriesAndProblems() {
    // Other Entries goes in the Edit menu, below Undo and Redo.
    editMenu_->addSeparator();
    otherEntriesAction_ = new QAction(tr("Other &Entries..."), this);
    otherEntriesAction_->setObjectName("OtherEntries");
    otherEntriesAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    otherEntriesAction_->setEnabled(false);
    connect(otherEntriesAction_, &QAction::triggered, this, [this] { ShowOtherEntries(); });
    editMenu_->addAction(otherEntriesAction_);

    problemsDock_ = new QDockWidget(tr("Problems"), this);
    problemsDock_->setObjectName("dockProblems");
    problemsDock_->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    problemsView_ = new ProblemsView(problemsDock_);
    // A few rows high: the dock lists what needs looking at, the buttons stay the window's body.
    problemsView_->setMinimumHeight(fontMetrics().lineSpacing() * 4);
    problemsView_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    problemsDock_->setWidget(problemsView_);
    addDockWidget(Qt::BottomDockWidgetArea, problemsDock_);
    connect(problemsView_, &ProblemsView::openRequested, this, &frmFrontend::OpenProblem);
    connect(problemsView_, &ProblemsView::applyRequested, this, &frmFrontend::ApplyProblemSuggestion);
}

void frmFrontend::ShowOtherEntries(const std::string& statement, int line) {
    ShipDocument* doc = Document();
    if (!doc) return;
    if (!otherEntriesFactory_) return;
    QDialog* sheet = ShowSheet([this] {
        return otherEntriesFactory_(SheetContext{session_.get(), prompter_, strDataDir, this});
    });
    recordStep(sheet, QStringLiteral("Other Entries"));
    if (sheet && (!statement.empty() || line > 0))
        QMetaObject::invokeMethod(sheet, "SelectStatement", Q_ARG(QString, FromLocal(statement)), Q_ARG(int, line));
}

void frmFrontend::RefreshProblems() {
    if (!problemsView_) return;
    ShipDocument* doc = Document();
    if (!doc) {
        problemsView_->SetProblems({});
        return;
    }
    // Names are checked against the data directory as it was when first needed; a new
    // directory is read afresh.
    if (!problemData_ || problemDataDir_ != strDataDir) {
        problemDataDir_ = strDataDir;
        problemData_.reset();
        if (checkDataDir())
            problemData_ = std::make_unique<gamedata::GameData>(gamedata::GameData::Read(ToLocal(strDataDir)));
    }
    problemsView_->SetProblems(FindProblems(*doc, problemData_.get()));
}

void frmFrontend::OpenProblem(const ShipProblem& problem) {
    if (!Document() || !isEnabled()) return;  // a sheet is open
    using Kind = SR2ShipFile::LineOrigin::Kind;
    const Kind kind = problem.origin ? problem.origin->kind : Kind::Other;
    const char* editor = kind == Kind::Weapon      ? "cmdWeapons"
                         : kind == Kind::Salvage   ? "cmdSalvageChunks"
                         : kind == Kind::Ability   ? "cmdEditAbilities"
                         : kind == Kind::PatchList ? "cmdSounds"
                                                   : nullptr;
    QString button = editor ? QString::fromLatin1(editor) : QString();
    const QString field = QString::fromStdString(problem.field);
    if (!field.isEmpty()) {
        // Which sheet holds a field is learnt once, from the sheets themselves.
        if (sheetOfField_.isEmpty()) {
            SilentPrompter silent;
            for (const SheetButton& row : sheetTable_) {
                if (!row.factory) continue;
                std::unique_ptr<QDialog> probe(row.factory(SheetContext{session_.get(), &silent, strDataDir, this}));
                QStringList fields;
                // Property sheets name their fields; the list editors have none to name.
                if (!probe || !QMetaObject::invokeMethod(probe.get(), "FieldList", Q_RETURN_ARG(QStringList, fields)))
                    continue;
                for (const QString& f : std::as_const(fields))
                    if (!sheetOfField_.contains(f)) sheetOfField_.insert(f, QString::fromLatin1(row.objectName));
            }
        }
        button = sheetOfField_.value(field);
    }
    if (button.isEmpty()) {
        ShowOtherEntries(problem.statement, problem.line);
        return;
    }
    auto* b = findChild<QPushButton*>(button);
    if (!b || !b->isEnabled()) return;
    b->click();
    QDialog* sheet = openSheet_;
    if (!sheet) return;
    bool focused = false;
    if (QMetaObject::invokeMethod(sheet, "FocusFieldNamed", Q_RETURN_ARG(bool, focused), Q_ARG(QString, field))) {
        // a property sheet: its box has the focus now
    } else if (auto* list = sheet->findChild<QListWidget*>(); list && problem.origin) {
        // A list editor: the item of that line, selected.
        const int item = static_cast<int>(problem.origin->target);
        if (item >= 0 && item < list->count()) {
            list->setCurrentRow(item);
            list->setFocus(Qt::OtherFocusReason);
        }
    }
}

void frmFrontend::ApplyProblemSuggestion(const ShipProblem& problem) {
    if (!ShipFile || !isEnabled()) return;
    const Result applied = ApplySuggestion(*ShipFile, problem);
    if (applied && session_) session_->Commit(QStringLiteral("Apply Suggestion"));
    if (!applied)
        prompter_->Message(this, "The suggestion cannot be applied: " + FromLocal(applied.reason) + ".",
                           MessageKind::Warning);
    updateModified();
    RefreshProblems();
}
