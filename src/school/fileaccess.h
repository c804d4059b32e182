#pragma once

#include <QString>

namespace voltmetr {

// Whether a finished run can be stored in the school database file at `path`, asked at sign-in
// so that a pupil never works through a run that the file then refuses. Storing needs the file
// open for writing, and a folder in which the engine may create and afterwards delete its
// rollback journal ("<file>-journal") beside it. Empty when both hold, else the Czech reason,
// to follow "Důvod: ": a read-only file, a folder that refuses new files, or a disk or share
// that is read-only as a whole. The database's own bytes are never touched; the folder is tried
// with a file of a name of its own, which is removed again at once.
//
// The answer is this process's: permission bits do not stop root, an immutable file or folder
// and a read-only mount stop everyone, and the kernel weighs all of it for the ids the program
// runs with. A server's rights only a connection tells: a server location gives empty.
QString fileStorageProblem(const QString& path);

} // namespace voltmetr
