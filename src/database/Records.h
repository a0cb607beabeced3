// Every record type of the finance model.
#pragma once

#include "database/AccountRecords.h"
#include "database/BudgetRecords.h"
#include "database/ClassifierRecords.h"
#include "database/CurrencyRecords.h"
#include "database/SeriesRecords.h"
#include "database/TextRecords.h"
#include "database/TransactionRecord.h"
#include "database/UserRecords.h"
