#pragma once

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <functional>

class Prompt;
class QWidget;
class VaroHomeUpdateDesc;

// Answers every modal dialog that comes up while it lives, as a user would,
// and notes what each one said: a prompt and a message dialog are answered
// with their OK button, an update pop-up is closed as the window manager
// closes it (its dismiss button would end the program for a forced update).
// The other modal windows (the progress dialog, the exit window, the delete
// question) are left to the test: the code under test closes them, or the
// test answers them itself.
class ModalAnswerer : public QObject
{
public:
    explicit ModalAnswerer(QObject *parent = nullptr);

    // A prompt or an update pop-up is noted and then handed to this instead
    // of being answered as above.
    void setPromptAnswer(std::function<void(Prompt *)> answer);
    void setPopupAnswer(std::function<void(VaroHomeUpdateDesc *)> answer);

    // Clicks the dialog's button of that object name.
    static void press(QWidget *dialog, const char *button);

    QStringList prompts;  // what each prompt showed
    QStringList messages; // "title|body" of each message dialog
    // "title|notes|dismiss|update" of each update pop-up, "|progress" added
    // when its download progress showed; and the pop-ups themselves.
    QStringList offers;
    QList<VaroHomeUpdateDesc *> popups;

private:
    void answer();

    QTimer m_timer;
    std::function<void(Prompt *)> m_promptAnswer;
    std::function<void(VaroHomeUpdateDesc *)> m_popupAnswer;
};
