#pragma once

#include <QString>

namespace voltmetr::testing {

// Databases of a test's own on the PostgreSQL server the test run shares, which listens on a Unix
// socket in a temporary folder only.
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
