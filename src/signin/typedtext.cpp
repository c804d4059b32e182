#include "signin/typedtext.h"

namespace voltmetr {

namespace {

bool breaksTheText(QChar c)
{
    switch (c.category()) {
    case QChar::Other_Control:
    case QChar::Separator_Line:
    case QChar::Separator_Paragraph:
        return true;
    default:
        return false;
    }
}

} // namespace

QString signInText(const QString& typed)
{
    QString text;
    text.reserve(typed.size());
    bool pendingBlank = false;
    for (const QChar c : typed) {
        if (breaksTheText(c)) {
            pendingBlank = !text.isEmpty();
            continue;
        }
        if (pendingBlank) {
            text += u' ';
            pendingBlank = false;
        }
        text += c;
    }
    return text;
}

} // namespace voltmetr
