// The rates layer's string-table ids: the currency and rate dialogs' titles (each names its
// step too), checks and questions, and the texts of the rate download wizard.
#pragma once
#include "database/DatabaseTexts.h"

namespace Rates {

// The currency dialog, the currency lists' titles and the questions before a delete.
namespace CurrencyText {
constexpr int kAdd = 358;               // "Добавить валюту"
constexpr int kChange = 359;            // "Изменить валюту"
constexpr int kDelete = 360;            // "Удалить валюту"
constexpr int kCodeTaken = Database::RuleMessage::kCurrencyCodeTaken;
constexpr int kNameAndCodeEmpty = 362;
constexpr int kNameEmpty = 363;
constexpr int kCodeEmpty = 364;
constexpr int kDecimalsOutOfRange = 365;
constexpr int kDeleteWithAccounts = 373;
constexpr int kDeleteUnused = 374;
constexpr int kNameColumn = 381, kCodeColumn = 382;  // the currency lists' titles
}  // namespace CurrencyText

// The rate dialog and the question before a rate is deleted.
namespace RateText {
constexpr int kAdd = 367;               // "Добавить курс валют"
constexpr int kChange = 368;            // "Изменить курс валют"
constexpr int kDelete = 369;            // "Удалить курс валют"
constexpr int kBadExpression = 370;
constexpr int kNotAboveZero = 371;
constexpr int kDateTaken = 372;
constexpr int kDeleteQuestion = 375;
constexpr int kRateToItself = Database::RuleMessage::kRateToItself;
}  // namespace RateText

// The download wizard: its title, the steps' titles, the progress and the last step.
namespace WizardText {
constexpr int kTitle = 605;         // "Мастер загрузки валют и курсов"
constexpr int kStepTitles[] = {606, 607, 608, 609};
constexpr int kDone = 632;          // "Данные загружены."
constexpr int kLoading = 637;       // "Загружается: #s"
constexpr int kChooseCurrencies = 633;
constexpr int kAndRates = 634;      // " и курсы"
constexpr int kCrossRates = 635;
constexpr int kStepLabel = 636;     // "Загрузка валют"
// The sampling modes' rows, in mode order.
constexpr int kSamplingModes[] = {624, 625, 626, 627, 628};
}  // namespace WizardText

}  // namespace Rates
