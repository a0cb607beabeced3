// The finance model for code that also uses Qt. Qt defines "slots" as a macro, and the
// engine's templates use the word as a name, so the model is read with the macro put aside.
#pragma once

#pragma push_macro("slots")
#undef slots
#include "database/Database.h"
#include "database/Deletion.h"
#include "database/Password.h"
#pragma pop_macro("slots")
