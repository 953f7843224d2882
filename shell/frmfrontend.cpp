#include "frmfrontend.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
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
#include "textconv.h"
#include "windowfit.h"
#include "windowplacement.h"

namespace {

const QString kShipDialogTitle = QStringLiteral("Open Ship File");  // Save As uses it too
const QString kShipFilter = QStringLiteral("SR2 Ship Files (*.ship)");
const QString kShipSuffix = QStringLiteral("ship");

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
    createEntriesAndProblems();
    setDocumentState(false, title_);

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
    for (const SheetButton& row : sheetTable_) {
        auto* button = new QPushButton(QString::fromLatin1(row.caption), central);
        button->setObjectName(row.objectName);
        if (SheetFactory factory = row.factory) {
            connect(button, &QPushButton::clicked, this, [this, factory, button] {
                ShowSheet([this, factory] { return factory(*this); }, button);
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
}

ShipDocument* frmFrontend::Document() {
    if (!ShipFile) return nullptr;
    // A document put in place by other means than New or Open starts a session of its own.
    if (!document_ || &document_->Ship() != ShipFile.get())
        document_ = std::make_unique<ShipDocument>(*ShipFile);
    return document_.get();
}

void frmFrontend::updateModified() {
    ShipDocument* doc = Document();
    setWindowModified(doc && doc->IsModified());
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
    ShipFile = std::make_unique<SR2ShipFile>();
    ShipFile->SetLogFolder(ToLocal(logFolder_));
    ShipFile->Initialize();
    document_ = std::make_unique<ShipDocument>(*ShipFile);
    documentName_ = QStringLiteral("New.ship");
    setDocumentState(true, title_ + " - " + documentName_);
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

    ShipFile = std::make_unique<SR2ShipFile>();
    ShipFile->SetLogFolder(ToLocal(logFolder_));
    document_ = std::make_unique<ShipDocument>(*ShipFile);
    const std::int16_t result = document_->Open(ToLocal(FileIN));
    const QString fileName = FromLocal(CFSO.GetFileName(ToLocal(FileIN)));

    if (result == 0) {
        documentName_ = fileName;
        setDocumentState(true, title_ + " - " + fileName);
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
        } else {
            prompter_->Message(this, fileName + " opened succesfully.");
        }
        return;
    }

    // A failed Open leaves no document behind; the Problems dock says why.
    const std::string why = result == 1 ? std::string("it does not exist") : ShipFile->OpenFailure();
    ShipFile.reset();
    document_.reset();
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
    const QString path = NativeLocal(doc->FilePath());
    const Result written = doc->Save();
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

    const Result written = doc->SaveAs(ToLocal(FileOUT));
    if (!written.ok) {
        showSaveFailure(FileOUT, written);
        return false;
    }
    // Save goes on with the file just written, so the caption names it.
    documentName_ = FromLocal(CFSO.GetFileName(ToLocal(FileOUT)));
    setDocumentState(true, title_ + " - " + documentName_);  // the problems of the new file too
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
};

}  // namespace

frmFrontend::OtherEntriesFactory frmFrontend::otherEntriesFactory_ = nullptr;

void frmFrontend::SetOtherEntriesFactory(OtherEntriesFactory factory) { otherEntriesFactory_ = factory; }

void frmFrontend::createEntriesAndProblems() {
    // The Edit menu follows File; it may already be there with Undo and Redo.
    QMenu* edit = menuBar()->findChild<QMenu*>("Edit");
    if (!edit) {
        edit = new QMenu(tr("&Edit"), menuBar());
        edit->setObjectName("Edit");
        const QList<QAction*> menus = menuBar()->actions();
        QMenu* file = menuBar()->findChild<QMenu*>("File");
        const qsizetype at = file ? menus.indexOf(file->menuAction()) : -1;
        if (at >= 0 && at + 1 < menus.size()) menuBar()->insertMenu(menus[at + 1], edit);
        else menuBar()->addMenu(edit);
    }
    otherEntriesAction_ = new QAction(tr("Other &Entries..."), this);
    otherEntriesAction_->setObjectName("OtherEntries");
    otherEntriesAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    otherEntriesAction_->setEnabled(false);
    connect(otherEntriesAction_, &QAction::triggered, this, [this] { ShowOtherEntries(); });
    edit->addAction(otherEntriesAction_);

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
    QDialog* sheet = ShowSheet([this, doc] { return otherEntriesFactory_(*doc, *prompter_, this); });
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
            Prompter* own = prompter_;
            prompter_ = &silent;
            for (const SheetButton& row : sheetTable_) {
                if (!row.factory) continue;
                std::unique_ptr<QDialog> probe(row.factory(*this));
                QStringList fields;
                // Property sheets name their fields; the list editors have none to name.
                if (!probe || !QMetaObject::invokeMethod(probe.get(), "FieldList", Q_RETURN_ARG(QStringList, fields)))
                    continue;
                for (const QString& f : std::as_const(fields))
                    if (!sheetOfField_.contains(f)) sheetOfField_.insert(f, QString::fromLatin1(row.objectName));
            }
            prompter_ = own;
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
    if (!applied)
        prompter_->Message(this, "The suggestion cannot be applied: " + FromLocal(applied.reason) + ".",
                           MessageKind::Warning);
    updateModified();
    RefreshProblems();
}
