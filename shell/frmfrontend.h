// frmFrontend: the main window. It owns the open ship's session and the settings, runs New, Open,
// Save, Save As, Undo and Redo, watches for changes on disk through the session, and opens every
// sheet and dialog beside itself through ShowSheet. Sheets get a SheetContext, not this window.
#pragma once

#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <QHash>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "customfso.h"
#include "sheetbutton.h"
#include "shipdocument.h"
#include "shipsession.h"
#include "sr2shipfile.h"

class QAction;
class QDockWidget;
class QLabel;
class QMenu;
class QPushButton;
class ProblemsView;
struct ShipProblem;
namespace gamedata { class GameData; }
class QSettings;
class Prompter;

class frmFrontend : public QMainWindow {
    Q_OBJECT
public:
    // sheetButtons: the sheet buttons to show, in layout order (the program's table).
    // settings: the store to read and write ("TARVISK" in the user's scope when null); tests pass
    // a store of their own. prompter: message boxes and dialogs (the real ones when null).
    // logFolder: where the reader writes its logs (the program's directory when empty).
    explicit frmFrontend(std::span<const SheetButton> sheetButtons, Prompter* prompter = nullptr, QSettings* settings = nullptr,
                         QString logFolder = {}, QWidget* parent = nullptr);
    ~frmFrontend() override;

    // Public variables of the main window; only this window reads them.
    SR2ShipFile* ShipFile = nullptr;  // the session's ship; null before New or Open and after a failed Open
    CustomFSO CFSO;
    QString FileIN;
    QString FileOUT;
    QString strDataDir;
    std::int16_t intDefWep = 1;
    std::int16_t intDefFam = 1;

    Prompter& prompter() const { return *prompter_; }
    QSettings& settings() const { return *settings_; }
    const QString& title() const { return title_; }

    // Disables this window, then creates the window that make() returns (so that a dialog
    // created now stays enabled), fits it to the screen, places it beside this window (see
    // placement::SheetPosition) and shows it with show(). This window is enabled again when it
    // closes, whichever way, and the focus goes to returnFocusTo (by default the widget that had
    // it before). Returns the shown window.
    QDialog* ShowSheet(const std::function<QDialog*()>& make, QWidget* returnFocusTo = nullptr);

    // Document commands, also reachable from the menu.
    void NewDocument();
    void OpenDocument();
    void SaveDocument();  // the file the document came from, line by line; Save As for a New one
    void SaveDocumentAs();
    // What Open does with the file chosen in its dialog: path becomes FileIN and is read into a
    // fresh document, and a message says how that went. The program opens a script given on its
    // command line this way.
    void OpenScript(const QString& path);

    // The open ship's session (the ship, its file, its undo stack); null while none is open.
    ShipSession* Session() const { return session_.get(); }
    // The session's document: its file, its lines as read and whether it changed since it was
    // opened or saved. Null while no document is open.
    ShipDocument* Document();

    // The most recently opened or saved files, newest first (full paths), as File > Open Recent
    // lists them.
    QStringList RecentFiles() const;
    void OpenRecent(const QString& path);

    // The sheet or dialog shown by ShowSheet, while it is open.
    QDialog* OpenSheet() const { return openSheet_; }

    // Other Entries and the Problems dock. The program names the Other Entries sheet's factory
    // (the shell knows no sheet).
    using OtherEntriesFactory = SheetFactory;
    static void SetOtherEntriesFactory(OtherEntriesFactory factory);
    void ShowOtherEntries(const std::string& statement = {}, int line = 0);
    void OpenProblem(const ShipProblem& problem);
    void ApplyProblemSuggestion(const ShipProblem& problem);
    void RefreshProblems();

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Window borders assumed before the window manager has drawn any.
    static constexpr int kGuessedBorder = 4;
    static constexpr int kGuessedTitleBar = 30;
    static constexpr int kGuessedResizeGrip = 8;

    // Built in named steps, Qt's way.
    void createActions();
    void createMenus();
    void createButtons();
    void readSettings();
    void placeAtStart();
    void setDocumentState(bool open, const QString& caption);
    bool checkDataDir();
    void showDataDirMessage();
    void ShowDecompiledDataDir();
    void ShowPreferences();
    void ShowAbout();
    void ExitProgram();
    bool save();
    bool saveAs();
    // Asks whether to save a modified document before it is replaced or the program ends; false
    // when the user cancels or the save failed, and the command must stop.
    bool maybeSave();
    void updateModified();
    void startSession(std::unique_ptr<ShipSession> session, const QString& name);
    // Makes what the sheet's OK changes one undo step (nothing for Cancel or no change).
    void recordStep(QDialog* sheet, const QString& sheetName);
    void updateUndoActions();
    void onChangedOnDisk();
    void handleChangeOnDisk();
    // Before Save writes over the session's file: true to go on; false when the user cancelled or
    // chose to reload instead.
    bool confirmOverwrite();
    void reloadDocument();
    void showFilePath();
    void rememberRecent(const QString& path);
    void updateRecentMenu();
    void clearRecent();
    void showSaved(const QString& path);
    void showSaveFailure(const QString& path, const Result& written);

    std::span<const SheetButton> sheetTable_;
    Prompter* prompter_;
    std::unique_ptr<Prompter> ownPrompter_;
    QSettings* settings_;
    std::unique_ptr<QSettings> ownSettings_;
    QString logFolder_;
    QString title_;
    QAction* newAction_ = nullptr;
    QAction* openAction_ = nullptr;
    QAction* saveAction_ = nullptr;
    QAction* saveAsAction_ = nullptr;
    QAction* exitAction_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* redoAction_ = nullptr;
    QAction* clearRecentAction_ = nullptr;
    QMenu* editMenu_ = nullptr;
    QMenu* recentMenu_ = nullptr;
    QLabel* filePathLabel_ = nullptr;
    QAction* decompiledDataAction_ = nullptr;
    QAction* preferencesAction_ = nullptr;
    QAction* readMeAction_ = nullptr;
    QAction* aboutAction_ = nullptr;
    std::vector<QPushButton*> sheetButtons_;  // one per row of sheetTable_, in its order
    QPointer<QDialog> openSheet_;
    std::unique_ptr<ShipSession> session_;
    bool changePending_ = false;  // a change on disk seen while a sheet was open
    QString documentName_;  // as the caption shows it: "New.ship" or the file's name
    bool shownOnce_ = false;

    // Other Entries and the Problems dock.
    void createEntriesAndProblems();
    static OtherEntriesFactory otherEntriesFactory_;
    QAction* otherEntriesAction_ = nullptr;
    QDockWidget* problemsDock_ = nullptr;
    ProblemsView* problemsView_ = nullptr;
    std::unique_ptr<gamedata::GameData> problemData_;  // the data directory's names, read once
    QString problemDataDir_;                           // the directory they were read from
    QHash<QString, QString> sheetOfField_;             // field -> sheet button, found on first use
};
