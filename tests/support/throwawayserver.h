#pragma once

#include <QString>

namespace voltmetr::testing {

// A PostgreSQL server of the test binary's own, started once before the first test and removed
// after the last: its data in a temporary folder, listening on a Unix socket in that folder
// only. Compiling throwawayserver.cpp into a test binary starts it there.
class ThrowawayServer
{
public:
    // The superuser's location of a new, empty database on the server.
    static QString newDatabase();
    // The same with the school's tables and roles, made as the teacher's tool makes them.
    static QString newSchool();

    // The same database as the pupils' computers reach it, signed in as the pupils' role.
    static QString asPupils(const QString& location);
};

} // namespace voltmetr::testing
