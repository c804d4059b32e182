#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace voltmetr {

// Everything the program asks of the desktop goes through this interface, so that the logic
// can run, and be tested, without a real dialog, clock or random source. The windows'
// modal showing is added by WindowHost on the widget side.

enum class MessageStyle
{
    OkCritical,    // one OK button, critical-error icon
    OkInformation, // one OK button, information icon
    YesNoQuestion, // Yes and No, question icon
};

enum class MessageAnswer
{
    Ok,
    Yes,
    No
};

struct SaveDialogRequest
{
    QString title;
    QString proposedName;     // "Vysledky"
    QString defaultExtension; // without the dot: "txt"
    QStringList filters;      // in the form "Textové soubory (*.txt)"
};

class Host
{
public:
    virtual ~Host() = default;

    virtual MessageAnswer messageBox(const QString& prompt, const QString& title,
                                     MessageStyle style) = 0;
    virtual void beep() = 0;

    // The current date and time as days since 30 December 1899, the time of day as the
    // fraction.
    virtual double now() = 0;

    // The random source: a uniform 32-bit float in [0, 1). reseedRandom() seeds it from the
    // clock.
    virtual void reseedRandom() = 0;
    virtual float random() = 0;

    virtual void setClipboardText(const QString& text) = 0;
    // The chosen file name, or nothing when the pupil cancelled the dialog.
    virtual std::optional<QString> askSaveFileName(const SaveDialogRequest& request) = 0;
    virtual void openLink(const QString& url) = 0;
    // The login name of the user running the program, or an empty text.
    virtual QString loginName() = 0;
    // Whether this build of the program has Qt's database driver of that name ("QPSQL").
    virtual bool hasDatabaseDriver(const QString& driver) = 0;
    // Ends the program at once as the pupil sees it: every window disappears and no further
    // event is handled. The call returns, so that the windows' code unwinds and the
    // application object is destroyed; the caller does nothing more that the pupil could see
    // or that stores anything, and no message box, dialog or modal window opens afterwards.
    virtual void endProgram() = 0;
};

} // namespace voltmetr
