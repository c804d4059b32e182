#pragma once

#include <QString>

namespace voltmetr {

// A name or class as the pupil typed or pasted it, made fit for the run and the report: a cell
// copied from a spreadsheet brings a line break, and a line break or another control character
// in the report makes it impossible to decode. Each run of control characters (line and
// paragraph separators included) between other characters becomes one blank; at the start or
// the end of the text it is dropped. Blanks the pupil typed stay as they are, and the text
// never grows, so the fields' length limits still hold.
QString signInText(const QString& typed);

} // namespace voltmetr
