// "Группировать по:" of the turnover report: one choice per classifier, captioned in the field
// as "полю "<name>"" and listed by the plain name. It follows the classifier table on Fill.
#pragma once
#include "ui/DatabaseModel.h"
#include "win32api/ReportMode.h"

#include <QObject>
#include <QPointer>

namespace UtilityClasses::Strings {
class AStrings;
}
namespace Win32API::VelvixControls::Reports::Implementation {
class AReportPicker;
}

namespace UserInterface::Reports {

class AGroupByCombo final : public QObject {
    Q_OBJECT
public:
    AGroupByCombo(Win32API::VelvixControls::Reports::Implementation::AReportPicker& picker,
                  const UtilityClasses::Strings::AStrings& strings, Database::ADatabase& db);
    ~AGroupByCombo() override;

    // Rereads the classifiers; the choice stays while its classifier does.
    void Fill();
    Database::AReference<Database::AClassifier> Chosen() const;
    void Choose(Database::AReference<Database::AClassifier> classifier);

signals:
    // The user chose another classifier.
    void Changed();

private:
    QPointer<Win32API::VelvixControls::Reports::Implementation::AReportPicker> picker_;
    const UtilityClasses::Strings::AStrings& strings_;
    Database::ADatabase& db_;
    Win32API::VelvixControls::Reports::AReportMode mode_;
};

}  // namespace UserInterface::Reports
