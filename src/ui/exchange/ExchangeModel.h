// The exchange wizards' model as their pages see it, with Qt's "slots" keyword lifted around
// it (the engine's headers use the word).
#pragma once
#pragma push_macro("slots")
#undef slots
#include "analysis/DateSpan.h"
#include "exchange/wizard/ExportWizardModel.h"
#include "exchange/wizard/ImportWizardModel.h"
#pragma pop_macro("slots")
