#pragma once

#include "reportscan.h"

#include <QByteArray>
#include <QString>

namespace voltmetr::teacher {

// The one way in for what a teacher saves from the mail program: a saved mail (.eml), several
// mails in one mailbox file (mbox), or plain text as pasted, each also as UTF-16 ("Unicode"). A
// mail is read through its MIME structure: quoted-printable and base64 bodies decoded, the declared
// character set honoured, each part of a multipart mail read, a text attachment (the report saved
// as Vysledky.txt) too, and of the plain and HTML forms of one letter only one. Every report found,
// damaged or repeated goes to scan, placed at source (and the part, where the mail has more than
// one).
void scanMailOrText(ReportScan& scan, const QByteArray& bytes, const QString& source);

} // namespace voltmetr::teacher
