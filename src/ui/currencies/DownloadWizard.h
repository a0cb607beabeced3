// The rate download wizard's window over the wizard's model: the source and its details,
// what to load with the estimate, the download with its progress, and the downloaded
// currencies to tick. The download runs on its own thread and reports here through queued
// calls, so the window keeps answering; Cancel stops it and writes nothing.
#pragma once
#include "ui/DatabaseModel.h"

#include "win32api/AWizard.h"

#include <memory>

namespace UserInterface {

struct AProgramContext;

namespace Currencies {

class ADownloadCRImpl final : public AWizard {
    Q_OBJECT
public:
    // Sources are looked for in `sourceFolder` (the program's folder).
    ADownloadCRImpl(const AProgramContext& context, Database::ADatabase& db, const std::string& sourceFolder,
                    QWidget* parent = nullptr);
    ~ADownloadCRImpl() override;

protected:
    bool OnFinish() override;
    void reject() override;

private:
    class AImpl;
    std::unique_ptr<AImpl> impl_;
};

// Runs the wizard over the program's folder; whether it wrote anything.
bool RunDownloadWizard(const AProgramContext& context, Database::ADatabase& db, QWidget* parent);

}  // namespace Currencies
}  // namespace UserInterface
