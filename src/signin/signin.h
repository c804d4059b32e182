#pragma once

#include "app/host.h"
#include "app/runstate.h"
#include "report/info2.h"
#include "school/profile.h"

#include <QString>
#include <optional>
#include <vector>

namespace voltmetr {

// What the sign-in offers as it opens: the school's database when its pupils can be read, with
// their profiles in table order; else signing in by name and class alone.
struct SignInOffer
{
    bool schoolMode = false;
    std::vector<Profile> pupils;
};

// Reads the school's settings and its database's pupils. A settings file that cannot be used,
// or a database that is there but cannot be read or would not take the finished run, is named to
// the pupil in a message box before the sign-in opens; a database that is not there at all is
// passed over in silence.
SignInOffer offerSignIn(Host& host);

// What the pupil chose when pressing OK.
struct SignInChoice
{
    bool emailMode = false;
    std::optional<QString> profileEntry; // the chosen list entry, none while nobody is chosen
    QString name;
    QString className;
};

// Starts the run: the mode, who the pupil is and when the run began; an e-mail run's report
// coder is prepared. False, with a beep and the run state's identity untouched, while the
// school's list has nobody chosen.
bool startRun(const SignInChoice& choice, Host& host, Data_a_promene& state, Info2& coder);

} // namespace voltmetr
