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

    // A question answered by one of the buttons ("Reload", "Keep"), with the program's title: the
    // index of the button chosen. Closing the box answers the last button.
    virtual int Choose(QWidget* parent, const QString& text, const QStringList& buttons) = 0;
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
    int Choose(QWidget* parent, const QString& text, const QStringList& buttons) override;
};
