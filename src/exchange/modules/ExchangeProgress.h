// The progress of one export or import as the document code reports it: a caption for
// the current operation and one bar split into weighted steps.
#pragma once
#include "exchange/xml/xmlProgress.h"

#include <string_view>
#include <vector>

namespace ExportImport {

class AExchangeProgress : public UtilityClasses::XML::AUserProgressNotifier {
public:
    virtual void SetCaption(std::u16string_view caption) = 0;
    // Starts the bar over with one weight per step; Notify then reports within a step.
    virtual void LoadSteps(std::vector<unsigned> weights) = 0;
    virtual void NextStep() = 0;
};

}  // namespace ExportImport
