// The exchange wizards' model as their pages see it, with Qt's "slots" keyword lifted around
// it (the engine's headers use the word).
#pragma once
#pragma push_macro("slots")
#undef slots
#include "analysis/DateSpan.h"
#include "exchange/ExportWizardModel.h"
#include "exchange/ImportWizardModel.h"
#pragma pop_macro("slots")
