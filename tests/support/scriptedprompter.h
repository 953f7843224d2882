// A Prompter for tests: it records every message and answers dialogs from queued replies.
#pragma once

#include "prompter.h"

// For tests: records every message and answers dialogs from queued replies (empty = cancel).
class ScriptedPrompter : public Prompter {
public:
    QStringList messages;
    QList<MessageKind> messageKinds;  // one per message
    QStringList openReplies, saveReplies, folderReplies;
    QStringList questions;             // every save-changes question asked
    QList<SaveAnswer> questionReplies; // answers in turn; Cancel when none is left
    QStringList choices;               // every Choose question asked
    QStringList choiceReplies;         // the button to answer, in turn; the last button when none
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

    int Choose(QWidget*, const QString& text, const QStringList& buttons) override {
        choices << text;
        const QString reply = choiceReplies.isEmpty() ? QString() : choiceReplies.takeFirst();
        const int at = buttons.indexOf(reply);
        return at >= 0 ? at : static_cast<int>(buttons.size()) - 1;
    }

private:
    void Remember(const QString& t, const QString& d, const QString& f, const QString& s) {
        lastTitle = t;
        lastDirectory = d;
        lastFilter = f;
        lastSuffix = s;
    }
};
