#include "common/modalanswerer.h"

#include "Form/Dialogs/formmessage.h"
#include "Form/Dialogs/prompt.h"
#include "Form/FormVaroHomeUpdate/varohomeupdatedesc.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTextDocumentFragment>

namespace {

// Often enough that a modal loop never waits long, seldom enough that the
// code under test runs between two looks.
const int kLookEveryMs = 20;

QString labelText(QWidget *dialog, const char *name)
{
    return dialog->findChild<QLabel *>(name)->text();
}

} // namespace

ModalAnswerer::ModalAnswerer(QObject *parent)
    : QObject(parent)
{
    connect(&m_timer, &QTimer::timeout, this, [this] { answer(); });
    m_timer.start(kLookEveryMs);
}

void ModalAnswerer::setPromptAnswer(std::function<void(Prompt *)> answer)
{
    m_promptAnswer = std::move(answer);
}

void ModalAnswerer::setPopupAnswer(std::function<void(VaroHomeUpdateDesc *)> answer)
{
    m_popupAnswer = std::move(answer);
}

// A click rather than QTest's mouse functions: those are inline and are
// compiled differently in the tests that route the mouse through the window
// system, and this file is linked into every test.
void ModalAnswerer::press(QWidget *dialog, const char *button)
{
    dialog->findChild<QPushButton *>(button)->click();
}

void ModalAnswerer::answer()
{
    QWidget *modal = QApplication::activeModalWidget();
    if (auto *message = qobject_cast<FormMessage *>(modal)) {
        // The body is rich text cut into lines; noted as the words it shows.
        const QString body = QTextDocumentFragment::fromHtml(labelText(message, "lbPromptText")).toPlainText().remove('\n');
        messages << labelText(message, "label") + "|" + body;
        press(message, "btnOk");
    } else if (auto *prompt = qobject_cast<Prompt *>(modal)) {
        prompts << labelText(prompt, "lbPromptText");
        if (m_promptAnswer)
            m_promptAnswer(prompt);
        else
            press(prompt, "btnOk");
    } else if (auto *popup = qobject_cast<VaroHomeUpdateDesc *>(modal)) {
        popups << popup;
        offers << labelText(popup, "labeltitle") + "|" + labelText(popup, "label_2") + "|"
                + popup->findChild<QPushButton *>("BNCancel")->text() + "|"
                + popup->findChild<QPushButton *>("BNUpdate")->text()
                + (popup->findChild<QLabel *>("lbNewVersion")->isVisible() ? "|progress" : "");
        if (m_popupAnswer)
            m_popupAnswer(popup);
        else
            popup->done(QDialog::Rejected);
    }
}
