// Every message box and file or folder dialog of the program goes through a Prompter, so that tests
// can see each message and answer each dialog without a modal loop.
#pragma once

#include <QString>
#include <QList>
#include <QStringList>

class QWidget;

// What a message tells, shown by the icon of its box: news, a problem the user can put right, or a
// failure.
enum class MessageKind { Information, Warning, Error };

class Prompter {
public:
    virtual ~Prompter() = default;

    // A message box with one OK button, the program's title ("Tarvisk") and the icon of its kind.
    virtual void Message(QWidget* parent, const QString& text,
                         MessageKind kind = MessageKind::Information) = 0;

    // File dialogs. The filter is in Qt's form ("SR2 Ship Files (*.ship)"). An empty result means
    // the user cancelled. Results use the platform's separators.
    virtual QString OpenFile(QWidget* parent, const QString& title, const QString& directory,
                             const QString& filter, const QString& defaultSuffix) = 0;
    virtual QString SaveFile(QWidget* parent, const QString& title, const QString& directory,
                             const QString& filter, const QString& defaultSuffix) = 0;
    virtual QString ChooseFolder(QWidget* parent, const QString& title, const QString& directory) = 0;

    // Whether to save changes that would otherwise be lost: a question with the buttons Save,
    // Discard and Cancel and the program's title. Closing the box answers Cancel.
    enum class SaveAnswer { Save, Discard, Cancel };
    virtual SaveAnswer AskSaveChanges(QWidget* parent, const QString& text) = 0;
};

// The real dialogs of the platform.
class DialogPrompter : public Prompter {
public:
    void Message(QWidget* parent, const QString& text,
                 MessageKind kind = MessageKind::Information) override;
    QString OpenFile(QWidget* parent, const QString& title, const QString& directory,
                     const QString& filter, const QString& defaultSuffix) override;
    QString SaveFile(QWidget* parent, const QString& title, const QString& directory,
                     const QString& filter, const QString& defaultSuffix) override;
    QString ChooseFolder(QWidget* parent, const QString& title, const QString& directory) override;
    SaveAnswer AskSaveChanges(QWidget* parent, const QString& text) override;
};

// For tests: records every message and answers dialogs from queued replies (empty = cancel).
class ScriptedPrompter : public Prompter {
public:
    QStringList messages;
    QList<MessageKind> messageKinds;  // one per message
    QStringList openReplies, saveReplies, folderReplies;
    QStringList questions;             // every save-changes question asked
    QList<SaveAnswer> questionReplies; // answers in turn; Cancel when none is left
    int openDialogs = 0, saveDialogs = 0, folderDialogs = 0;
    QString lastTitle, lastDirectory, lastFilter, lastSuffix;

    void Message(QWidget*, const QString& text,
                 MessageKind kind = MessageKind::Information) override {
        messages << text;
        messageKinds << kind;
    }
    QString OpenFile(QWidget*, const QString& title, const QString& directory, const QString& filter,
                     const QString& suffix) override {
        ++openDialogs;
        Remember(title, directory, filter, suffix);
        return openReplies.isEmpty() ? QString() : openReplies.takeFirst();
    }
    QString SaveFile(QWidget*, const QString& title, const QString& directory, const QString& filter,
                     const QString& suffix) override {
        ++saveDialogs;
        Remember(title, directory, filter, suffix);
        return saveReplies.isEmpty() ? QString() : saveReplies.takeFirst();
    }
    QString ChooseFolder(QWidget*, const QString& title, const QString& directory) override {
        ++folderDialogs;
        Remember(title, directory, {}, {});
        return folderReplies.isEmpty() ? QString() : folderReplies.takeFirst();
    }

    SaveAnswer AskSaveChanges(QWidget*, const QString& text) override {
        questions << text;
        return questionReplies.isEmpty() ? SaveAnswer::Cancel : questionReplies.takeFirst();
    }

private:
    void Remember(const QString& t, const QString& d, const QString& f, const QString& s) {
        lastTitle = t;
        lastDirectory = d;
        lastFilter = f;
        lastSuffix = s;
    }
};
